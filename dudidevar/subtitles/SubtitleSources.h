// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/subtitles/SubtitleChoice.h"
#include "dudidevar/subtitles/SubtitleEvents.h"

// The chosen subtitles of each source of a clip list, and where each span of the output shows
// them: a span shows the subtitles of its own source at the source's time. A subtitle file goes
// with the first source. A file is read when opened; a source's track, which takes reading the
// whole source, when first loaded.
class SubtitleSources {
public:
    struct Layer {
        std::string path;
        int index = -1;  // the source's subtitle track, still to be read
        bool forcedOnly = false;
        bool loaded = false;
        bool text = true;  // known before loading
        std::string language;  // the track's or the file name's ("film.en.srt"); may be empty
        SubtitleEvents subtitles;
        int pictureWidth = 0;  // the source picture's size: the canvas of picture subtitles
        int pictureHeight = 0;  // that give none
    };
    struct Span {
        Clip clip;
        double offset = 0.0;  // where the span starts in the output, in seconds
        Layer* layer = nullptr;  // null: no subtitles for this source
    };

    // False with the reason when a source lacks the chosen track or a file cannot be read.
    // probed: files already opened, by path.
    bool open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
              const std::map<std::string, AVFormatContext*>& probed, std::string* error);
    const std::vector<Span>& spans() const { return spans_; }
    // The span shown at that second of the output; null before the first.
    const Span* spanAt(double seconds) const;
    // Reads the layer's track when it has not been read.
    static bool load(Layer& layer, std::string* error);

private:
    bool readLayers(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                    const std::map<std::string, AVFormatContext*>& probed, std::string* error);
    static void chooseForced(AVFormatContext* input, Layer* layer);

    std::map<std::string, std::unique_ptr<Layer>> layers_;
    std::vector<Span> spans_;
};
