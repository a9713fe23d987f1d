// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

// What a file's header promises of its picture, against what is read of it: a file cut off after
// it was written (a recording stopped by a full disk, a download broken off) keeps a header that
// counts pictures it no longer holds.
namespace PromisedLength {

// Where the picture ends by the frame count an AVI header gives, in seconds from the start of the
// file; -1 for other files, whose counts come from the data itself, and for a header without one.
double pictureEnd(const AVFormatContext* input, const AVStream* stream);
// "<path> is cut short: its picture stops at 0.2 s of 4.0 s" when the picture, read to its end
// at `readEnd`, falls short of the header's promise by more than a muxer's rounding; empty
// otherwise.
std::string shortfall(const std::string& path, const AVFormatContext* input, const AVStream* stream, double readEnd);

}  // namespace PromisedLength
