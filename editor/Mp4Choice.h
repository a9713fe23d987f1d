// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tasks/TaskSettings.h"

class CDudidEvar;

// What the MP4 settings panel shows: codec, quality, speed, picture height, frame rate and
// sound. A fresh panel shows defaults(); OK writes what it shows into a task's record.
struct Mp4Choice {
    static constexpr std::array<const char*, 3> kCodecNames{"H.264", "H.265 (HEVC)", "AV1"};
    static constexpr std::array<const char*, 3> kCodecWords{"h264", "h265", "av1"};  // the companion's
    static constexpr std::array<int, 3> kDefaultQualities{22, 26, 32};
    static constexpr std::array<int, 3> kMaxQualities{51, 51, 63};
    static constexpr std::array<const char*, 3> kSpeedNames{"Faster", "Balanced", "Smaller file"};
    static constexpr std::array<const char*, 3> kSpeedWords{"faster", "balanced", "smaller"};
    static constexpr int kBalanced = 1;
    static constexpr std::array<int, 5> kHeights{2160, 1080, 720, 480, 360};
    static constexpr std::array<int, 5> kFrameRates{24, 25, 30, 50, 60};
    static constexpr std::array<int, 6> kAudioKbps{96, 128, 160, 192, 224, 256};
    static constexpr int kDefaultAudioKbps = 160;

    int codec = 0;
    int quality = kDefaultQualities[0];
    int speed = kBalanced;
    int height = 0;     // 0: "Original Size"
    int frameRate = 0;  // 0: the source's
    int audioKbps = kDefaultAudioKbps;
    bool videoOnly = false;

    // The codecs the control can write, by number.
    static std::vector<int> availableCodecs(CDudidEvar& control);
    // A fresh panel: the first codec the control can write with its default quality.
    static Mp4Choice defaults(const std::vector<int>& available);
    // What a stored MP4 record shows again; values off the lists become their defaults.
    static Mp4Choice fromSettings(const TaskSettings& settings);
    // False with the reason for a value no list holds.
    bool check(std::string* error) const;

    // format Mp4, the codec, quality and speed, height (or keepSourceSize for "Original Size"),
    // frame rate, sound bit rate and videoOnly.
    void writeTo(TaskSettings& settings) const;
};
