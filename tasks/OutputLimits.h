// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "tasks/TaskSettings.h"

// The numbers each output kind can carry: picture sizes, frame rates and bit rates. The list
// reader, the task editor and marvane-cli check a task's record against them before anything
// is written, so a number beyond them is refused with the limit in words rather than cut down,
// wrapped round or dropped by the conversion.
class OutputLimits {
public:
    struct Refusal {
        std::string field;   // the record's field, as the list file names it
        std::string reason;  // the kind's limit and the number that is beyond it
    };

    static constexpr int kSmallestSide = 2;
    static constexpr int kLargestMpegSide = 4095;  // what an MPEG sequence header holds
    static constexpr int kLargestAviSide = 8191;   // what MPEG-4 Part 2, the narrowest AVI compressor, holds
    static constexpr int kLargestMp4Height = 4320;
    static constexpr double kLowestFps = 1.0;
    static constexpr double kHighestFps = 120.0;

    // The first number of the record that its kind cannot carry; nothing when every one fits.
    // Fields the kind does not use (a disc's size, the bit rates of a VBR task) are not read.
    static std::optional<Refusal> check(const TaskSettings& settings);

private:
    static std::optional<Refusal> checkSize(const TaskSettings& s);
    static std::optional<Refusal> checkFrameRate(const TaskSettings& s);
    static std::optional<Refusal> checkVideoBitRate(const TaskSettings& s);
    static std::optional<Refusal> checkSoundBitRate(const TaskSettings& s);
};
