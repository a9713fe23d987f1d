// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One subtitle: shown from start to end, in seconds of its source (from the file's start).
struct SubtitleEvent {
    double start = 0.0;
    double end = 0.0;
    bool forced = false;
    // Text: the event's line as libass takes it in chunks ("ReadOrder,Layer,Style,...,Text").
    std::string line;
    // Picture: straight-alpha 0xAARRGGBB pixels, placed at x, y of the canvas.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The subtitles of one track or file, in time order.
struct SubtitleEvents {
    bool text = true;
    std::string header;  // text: the ASS script header with its styles
    int canvasWidth = 0;  // pictures: the size their places are given in
    int canvasHeight = 0;
    std::vector<SubtitleEvent> events;
};
