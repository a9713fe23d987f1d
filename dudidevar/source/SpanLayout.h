// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "dudidevar/source/Clip.h"

// Lays the clips of a track end to end: each span gets its clip and the time it starts at in
// the output, and is then opened by `open` (false: the track cannot be made). A span's length is
// taken once it is open, since opening may end its clip where its file's stream ends.
template <class Span, class Open>
bool layOutSpans(const std::vector<Clip>& clips, std::vector<Span>* spans, double* total, Open open)
{
    spans->clear();
    *total = 0.0;
    for (const Clip& clip : clips) {
        Span span;
        span.clip = clip;
        span.offset = *total;
        if (!open(span))
            return false;
        *total += span.clip.length();
        spans->push_back(std::move(span));
    }
    return true;
}
