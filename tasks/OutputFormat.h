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
