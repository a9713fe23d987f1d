// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli frames: still pictures of a video at a rate, written as "<name>_<n>.bmp" files,
// taken as the image extraction tool takes them.
namespace FramesCommand {

inline constexpr const char* kUsage =
    "frames [--from S] [--to S] [--per-second N] [--size WxH|--original-size]\n"
    "       [--subtitles none|N|LANG|forced|FILE] -o FOLDER SOURCE";

int run(CDudidEvar& control, const std::vector<std::string>& args);

}  // namespace FramesCommand
