// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/subtitles/SubtitleChoice.h"
#include "dudidevar/subtitles/SubtitleSources.h"

// The chosen text subtitles kept as a subtitle track of an MP4 output (3GPP timed text), which
// players switch on and off, each line at the time the output shows it: a span of the output
// has the lines of its own source that fall within it.
class SoftSubtitles {
public:
    // Reads what the choice names and opens the track's encoder; false with the reason when the
    // subtitles are pictures, a source lacks them or a file cannot be read. Nothing to keep
    // (choice none) leaves it empty.
    bool open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
              const std::map<std::string, AVFormatContext*>& probed, std::string* error);
    bool empty() const { return !encoder_; }
    const AVCodecContext* encoder() const { return encoder_.get(); }
    // The track's language as MP4 tags it ("eng"); empty when unknown.
    const std::string& language() const { return language_; }
    // The packets, in the encoder's time base, of the lines starting before that second of the
    // output that were not given yet, in time order. A source's track is read when first needed.
    bool packetsBefore(double seconds, std::vector<ff::Packet>* packets, std::string* error);

private:
    struct Line {
        double start = 0.0;  // in the output
        double end = 0.0;
        std::string text;  // as libavcodec's text subtitles carry it
    };

    bool openEncoder(const std::string& header, std::string* error);
    bool queueSpan(const SubtitleSources::Span& span, std::string* error);
    bool encode(const Line& line, std::vector<ff::Packet>* packets, std::string* error);

    SubtitleSources sources_;
    ff::CodecContext encoder_;
    std::string language_;
    std::size_t nextSpan_ = 0;
    std::deque<Line> queued_;
};
