// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/source/TrackChoice.h"

// The stream of each source of a clip list that a run decodes for one type, as the user chose
// it. A choice that none of the sources has is refused, naming the tracks they have; a source
// of a join that lacks it uses its default sound track (and no subtitles), and a notice says so.
class ChosenStreams {
public:
    // probed: files the run has already opened, by path; the others are opened here.
    bool resolve(const std::vector<Clip>& clips, AVMediaType type, const TrackChoice& choice,
                 const std::map<std::string, AVFormatContext*>& probed, std::string* error);
    // The stream to decode of that source; -1: its default one (for subtitles: none).
    int indexFor(const std::string& path) const;
    // The sources that lack the chosen track, with the notice for each.
    const std::vector<std::string>& notices() const { return notices_; }

private:
    std::map<std::string, int> chosen_;
    std::vector<std::string> notices_;
};
