// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PictureSizes.h"

namespace PictureSizes {

std::int32_t pixelsAt(int position)
{
    return (position + 1) * kStep;
}

int positionOf(std::int32_t pixels)
{
    if (pixels < kStep || pixels > kCount * kStep || pixels % kStep != 0)
        return -1;
    return pixels / kStep - 1;
}

}  // namespace PictureSizes
