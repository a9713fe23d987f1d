// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// One track of a media file as a user chooses among them: its kind, its number counted from 1
// among the file's tracks of that kind (as a track choice names it), and how the file labels it.
struct SourceTrack {
    enum class Kind { Picture, Sound, Subtitles };
    Kind kind = Kind::Picture;
    int number = 0;
    std::string language;  // lower case; empty when the file gives none
    std::string title;
    std::string codec;  // the short name of its format ("aac", "subrip")
    bool isDefault = false;
    bool forced = false;
};
