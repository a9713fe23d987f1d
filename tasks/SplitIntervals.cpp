// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/SplitIntervals.h"

namespace SplitIntervals {

std::optional<int> indexOfSeconds(std::int32_t seconds)
{
    for (std::size_t i = 0; i < kIntervals.size(); ++i) {
        if (kIntervals[i].seconds == seconds)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace SplitIntervals
