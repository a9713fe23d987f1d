// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli convert: builds one task as the task editor would, with its defaults, and runs
// it as the main window runs tasks (split parts and joins included).
namespace ConvertCommand {
inline constexpr const char* kUsage =
    "convert --to avi|dvd|vcd|svcd|mpeg|wmv|mp4 [--pal|--ntsc] [--split SECONDS] [--video-only] [--each]\n"
    "        [--size WxH|--original-size] [--fps RATE] [--vbr QUALITY|--video-kbps N] [--audio-kbps N]\n"
    "        [--video-compressor NAME] [--audio-compressor NAME] [--profile N]\n"
    "        [--codec h264|h265|av1] [--quality N] [--speed faster|balanced|smaller] [--height H]\n"
    "        [--rate R] [--audio-rate KBITS] [--sound-track N|LANG]\n"
    "        [--subtitles none|N|LANG|forced|FILE] [--soft-subtitles] -o OUTPUT SOURCE...";
int run(CDudidEvar& control, const std::vector<std::string>& args);
}  // namespace ConvertCommand
