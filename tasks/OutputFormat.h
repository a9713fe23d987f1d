// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Output format codes, handed to the conversion control unchanged.
enum class OutputFormat : std::uint32_t {
    VcdPal = 0,
    VcdNtsc = 1,
    SvcdPal = 2,
    SvcdNtsc = 3,
    DvdPal = 4,
    DvdNtsc = 5,
    MpegCustom = 6,
    Avi = 7,
    Wmv = 8,
    Mp4 = 9,
};

inline constexpr bool isMpegFormat(OutputFormat f) { return f <= OutputFormat::MpegCustom; }

// True for a code the conversion control knows. Every format is listed, so a new one that is
// not added here is a build warning.
inline constexpr bool isKnownOutputFormat(std::uint32_t code)
{
    switch (static_cast<OutputFormat>(code)) {
    case OutputFormat::VcdPal:
    case OutputFormat::VcdNtsc:
    case OutputFormat::SvcdPal:
    case OutputFormat::SvcdNtsc:
    case OutputFormat::DvdPal:
    case OutputFormat::DvdNtsc:
    case OutputFormat::MpegCustom:
    case OutputFormat::Avi:
    case OutputFormat::Wmv:
    case OutputFormat::Mp4: return true;
    }
    return false;
}
