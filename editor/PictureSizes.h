// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The width and height lists of the settings panels: 16, 32, ..., 1024 pixels in rising order.
namespace PictureSizes {

inline constexpr int kCount = 64;
inline constexpr int kStep = 16;

// The pixels that a list position stands for: (position + 1) x 16; -1 (no selection) gives 0.
std::int32_t pixelsAt(int position);
// The position of a size in the list, -1 when the list has no entry for it.
int positionOf(std::int32_t pixels);

}  // namespace PictureSizes
