// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tasks/OutputKind.h"

// The options of marvane-cli convert as given; unset options take the editor's defaults.
struct ConvertOptions {
    OutputKind kind = OutputKind::Avi;
    bool ntsc = true;
    int splitSeconds = 0;
    bool videoOnly = false;
    bool originalSize = false;
    int width = 0;
    int height = 0;
    std::optional<double> fps;
    std::optional<int> vbrQuality;
    std::optional<int> videoKbps;
    std::optional<int> audioKbps;
    std::string videoCompressor;
    std::string audioCompressor;
    std::optional<int> profile;
    // MP4 only: the codec and speed as words, the quality, height, frame rate and sound kbit/s.
    std::string codec;
    std::string speed;
    std::optional<int> quality;
    std::optional<int> mp4Height;
    std::optional<int> rate;
    std::optional<int> audioRate;
    // The sound track and the subtitles burned in, as the task keeps them ("" their defaults).
    std::string soundTrack;
    std::string subtitles;
    bool softSubtitles = false;  // MP4: kept as a subtitle track, not burned in
    std::string output;
    std::vector<std::string> sources;
    bool each = false;  // one task per source, in a folder, rather than one joined output

    // False with the reason for options that do not make a task.
    bool parse(const std::vector<std::string>& args, std::string* error);
    // Whether any option that only MP4 output takes was given.
    bool hasMp4Options() const;
    // Whether any option of the AVI, MPEG or WMV outputs was given.
    bool hasOlderKindOptions() const;
};
