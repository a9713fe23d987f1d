// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The split intervals the task editor offers, in list order.
namespace SplitIntervals {

struct Interval {
    const char* text;
    std::int32_t seconds;
};

inline constexpr std::array<Interval, 16> kIntervals{{
    {"15 seconds", 15}, {"30 seconds", 30}, {"1 minutes", 60}, {"2 minutes", 120},
    {"5 minutes", 300}, {"10 minutes", 600}, {"15 minutes", 900}, {"20 minutes", 1200},
    {"25 minutes", 1500}, {"30 minutes", 1800}, {"45 minutes", 2700}, {"60 minutes", 3600},
    {"70 minutes", 4200}, {"75 minutes", 4500}, {"80 minutes", 4800}, {"90 minutes", 5400},
}};

inline constexpr int kDefaultIndex = 9;

// Position of a stored interval in the list, if it is one of them.
std::optional<int> indexOfSeconds(std::int32_t seconds);

}  // namespace SplitIntervals
