// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <vector>

// Rectangles with right and bottom exclusive, as a region is built from them.
struct RegionBound {
    int left = 0x7FFFFFFF;
    int top = 0x7FFFFFFF;
    int right = 0;
    int bottom = 0;
};

// The rectangle buffer of the region builder: room for 100 rectangles at first, growing by
// 100 whenever it is full and never shrinking, with the bound of what it holds.
class RegionRectBuffer {
public:
    static constexpr int initialCapacity = 100;
    static constexpr int growth = 100;

    RegionRectBuffer();  // throws std::bad_alloc

    // Appends the one-pixel-high run (left, top) .. (right, bottom); throws std::bad_alloc.
    void append(int left, int top, int right, int bottom);
    // Empties the buffer for the next batch; the capacity stays.
    void clear();

    int count() const { return count_; }
    int capacity() const { return static_cast<int>(rects_.size()); }
    const QRect* rects() const { return rects_.data(); }
    const RegionBound& bound() const { return bound_; }

private:
    std::vector<QRect> rects_;
    int count_ = 0;
    RegionBound bound_;
};
