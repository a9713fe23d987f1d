// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/MpegFrameRates.h"

namespace MpegFrameRates {

float rateAt(std::int32_t index)
{
    if (index < 0)
        return kRates.front();
    if (index >= static_cast<std::int32_t>(kRates.size()))
        return kRates.back();
    return kRates[static_cast<std::size_t>(index)];
}

}  // namespace MpegFrameRates
