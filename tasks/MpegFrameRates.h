// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// Frame rates of custom MPEG output, indexed by the task's MPEG frame-rate index.
namespace MpegFrameRates {

inline constexpr std::array<float, 5> kRates{23.976f, 24.0f, 25.0f, 29.97f, 30.0f};

// The rate at an index; out-of-range indices give the nearest end of the table.
float rateAt(std::int32_t index);

}  // namespace MpegFrameRates
