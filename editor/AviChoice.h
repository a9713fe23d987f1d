// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tasks/TaskSettings.h"

class CDudidEvar;

// What the AVI settings panel shows: positions in its lists (-1 without a selection) and its
// two boxes. A fresh panel shows defaults(); OK writes what it shows into a task's record.
struct AviChoice {
    static constexpr std::array<int, 7> kFrameRates{12, 15, 20, 24, 25, 30, 60};
    static constexpr int kDefaultWidthPosition = 21;      // 352
    static constexpr int kDefaultHeightPosition = 14;     // 240
    static constexpr int kDefaultFrameRatePosition = 3;   // 24 fps
    static constexpr const char* kPreferredVideo = "divx";
    static constexpr const char* kPreferredAudio = "mpeg layer-3";

    int videoCompressor = -1;
    int audioCompressor = -1;
    int widthPosition = kDefaultWidthPosition;
    int heightPosition = kDefaultHeightPosition;
    int frameRatePosition = kDefaultFrameRatePosition;
    bool originalSize = false;
    bool videoOnly = false;

    // What the panel shows for a stored record, with lists of that many compressors. A value
    // the lists do not hold shows no selection; under "Original Size" an unlisted size shows
    // the default size, which the lists offer once the box is cleared.
    static AviChoice fromRecord(const TaskSettings& settings, int videoCount, int audioCount);
    // The position of a frame rate in the list; -1 for a rate it does not hold.
    static int frameRatePositionOf(float rate);

    // The choice of a fresh panel for the control's compressor names.
    static AviChoice defaults(const std::vector<std::string>& videoNames,
                              const std::vector<std::string>& audioNames);
    // The position selected at opening: the last name whose lower-case form contains the
    // match, else 0; -1 for an empty list.
    static int preferredPosition(const std::vector<std::string>& names, const std::string& match);

    // The control's compressor names in its order; the collection is fetched anew for the
    // count and for every name.
    static std::vector<std::string> videoCompressorNames(CDudidEvar& control);
    static std::vector<std::string> audioCompressorNames(CDudidEvar& control);

    // The frame rate at a list position; positions outside the list give its nearest end.
    static float frameRateAt(int position);

    // format Avi, both compressors, size or keepSourceSize (an "Original Size" record keeps its
    // width and height), frame rate and videoOnly.
    void writeTo(TaskSettings& settings) const;
};
