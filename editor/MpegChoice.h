// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "tasks/OutputKind.h"
#include "tasks/TaskSettings.h"

// What the MPEG settings panel shows: its boxes, the texts of its two number fields and the
// positions of its lists (-1 without a selection). OK writes it into a task's record.
struct MpegChoice {
    static constexpr std::int32_t kMaxQuality = 100;
    static constexpr std::int32_t kMaxVideoBitRate = 10000;
    static constexpr const char* kAudioBitRates[] = {"128", "224"};

    bool vbr = false;
    std::string quality;
    std::string videoBitRate;
    int frameRatePosition = -1;
    int heightPosition = -1;
    int widthPosition = -1;
    bool videoOnly = false;
    int audioBitRatePosition = -1;
    bool originalSize = false;

    // What the panel shows for a stored record; a size or rate the lists do not hold shows no
    // selection, an audio bit rate other than 128 shows "224".
    static MpegChoice fromRecord(const TaskSettings& settings);
    // The video standard of a format; NTSC for the formats that have none.
    static bool isNtsc(OutputFormat format);

    // The number a digits-only field holds: 0 when empty; a number too long for the record
    // counts as the largest one, so the upper limits still apply to it.
    static std::int32_t fieldNumber(const std::string& text);

    // The format from kind and standard, and every MPEG field. Quality above 100 is stored as
    // 100 and a video bit rate above 10000 as 10000; VCD always gets an audio bit rate of 224.
    void writeTo(TaskSettings& settings, OutputKind kind, bool ntsc) const;
};
