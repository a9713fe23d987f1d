// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/RegionRectBuffer.h"

#include <algorithm>

RegionRectBuffer::RegionRectBuffer() : rects_(initialCapacity) {}

void RegionRectBuffer::append(int left, int top, int right, int bottom)
{
    if (count_ == capacity())
        rects_.resize(rects_.size() + growth);
    rects_[count_] = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    bound_.left = std::min(bound_.left, left);
    bound_.top = std::min(bound_.top, top);
    bound_.right = std::max(bound_.right, right);
    bound_.bottom = std::max(bound_.bottom, bottom);
    ++count_;
}

void RegionRectBuffer::clear()
{
    count_ = 0;
    bound_ = RegionBound();
}
