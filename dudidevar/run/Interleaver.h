// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

class OutputWriter;
class PictureSupply;
class SoundSupply;

// Writes the pictures and the sound of a run into its output in time order: whichever stream
// is behind gives its next frame or packet, so the muxer gets them interleaved.
class Interleaver {
public:
    struct Pictures {
        PictureSupply* supply = nullptr;  // null: the output has no picture
        std::int64_t count = 0;
        AVRational rate{25, 1};
    };

    // sound: null when the output has no sound.
    Interleaver(OutputWriter& writer, Pictures pictures, SoundSupply* sound);

    bool finished() const { return picturesFinished() && soundFinished(); }
    // Writes one picture or one sound packet; false with the reason when either failed.
    bool step(std::string* error);
    // Seconds of the output written in both streams.
    double secondsDone() const;

private:
    bool picturesFinished() const;
    bool soundFinished() const;
    double pictureSecondsDone() const;
    bool writePicture(std::string* error);
    bool writeSound(std::string* error);

    OutputWriter& writer_;
    Pictures pictures_;
    SoundSupply* sound_;
    std::int64_t picturesWritten_ = 0;
    bool soundEnded_ = false;
    double soundSeconds_ = 0.0;  // the end of the last sound packet written
};
