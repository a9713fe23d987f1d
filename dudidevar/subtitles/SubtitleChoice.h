// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/source/TrackChoice.h"

// Which subtitles a run burns into the picture, as the control's caller names them: "" none,
// a track of each source by number or language, "forced" (the source's forced subtitles), or
// the path of a subtitle file.
struct SubtitleChoice {
    enum class From { None, Track, Forced, File };
    From from = From::None;
    TrackChoice track;
    std::string file;
    bool soft = false;  // kept as a subtitle track of an MP4 output rather than burned in

    // Text that names a file (a path with a folder or a suffix) is taken as one; false for text
    // that is none of the above.
    static bool parse(const std::string& text, SubtitleChoice* choice);
    // Whether a file's name ends in a suffix of the subtitle files read (.srt, .ass, .ssa, .vtt).
    static bool hasSubtitleSuffix(const std::string& path);
};
