// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/SubtitleChoice.h"

#include <algorithm>
#include <cctype>

bool SubtitleChoice::parse(const std::string& text, SubtitleChoice* choice)
{
    *choice = {};
    if (text.empty() || text == "none")
        return true;
    if (text == "forced") {
        choice->from = From::Forced;
        return true;
    }
    if (text.find('/') != std::string::npos || text.find('.') != std::string::npos) {
        choice->from = From::File;
        choice->file = text;
        return true;
    }
    choice->from = From::Track;
    return TrackChoice::parse(text, &choice->track);
}

bool SubtitleChoice::hasSubtitleSuffix(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string suffix = path.substr(dot + 1);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return suffix == "srt" || suffix == "ass" || suffix == "ssa" || suffix == "vtt";
}
