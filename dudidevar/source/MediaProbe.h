// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"

// Opening and measuring media files. Anything unreadable gives an empty context or zeros.
namespace MediaProbe {

// Opens a file and reads its stream information; null (with the reason in *error) when the
// file is missing, a folder, or not media the libraries understand.
ff::InputContext open(const std::string& path, std::string* error = nullptr);
// Opens a file of a known format for reading only, without reading its stream information:
// streams whose header does not describe them are missing, and lengths and start are unknown.
ff::InputContext openUnprobed(const std::string& path, const AVInputFormat* format, std::string* error);
// How many files open() has opened and probed in this process.
std::int64_t probeCount();

struct Facts {
    double duration = 0.0;  // seconds
    int width = 0;  // the picture as shown: upright, at square pixels
    int height = 0;
    bool hasVideo = false;
    bool hasAudio = false;
};
Facts facts(const std::string& path);
Facts facts(const AVFormatContext* input);
// The length of a file's content: where the data of its main picture and sound streams end
// (never a subtitle, data or timecode track, nor a cover picture), from the header or, for files
// whose length comes from their timestamps or is guessed from their size, from the packets' times
// (a single wild timestamp does not count); the file's own length when its streams do not say.
// 0 when the file cannot be read.
double contentSeconds(const std::string& path);
double contentSeconds(AVFormatContext* input);

// The start time of the file in seconds: times within the file count from here.
double startOffset(const AVFormatContext* input);
// Where a stream's own data ends, in seconds from the start of the file, when the file says so
// (its header or the stream's timestamps); -1 when it does not. Reading the timestamps moves
// the file back to its start.
double streamEnd(AVFormatContext* input, const AVStream* stream);
// The same for several streams of the file, reading its end once for all of them.
std::vector<double> streamEnds(AVFormatContext* input, const std::vector<int>& indices);
// The same, and where the header gives only the file's own length (Matroska), from the times of
// the stream's last packets; -1 when neither tells. Leaves the file at no particular place.
double measuredEnd(AVFormatContext* input, const AVStream* stream);
// The index of the file's main stream of a type (sound: the track marked default, else the
// first), or -1.
int bestStream(AVFormatContext* input, AVMediaType type);

}  // namespace MediaProbe
