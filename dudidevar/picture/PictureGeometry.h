// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "dudidevar/source/SourceShape.h"

struct AVStream;
struct AVFormatContext;

// Where the upright picture goes in an output frame; the rest of the frame is black.
struct PicturePlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The pixel shapes an output format can flag on its frames.
struct FrameShapes {
    enum class Kind {
        SquareOnly,  // no flag: pixels are shown square
        Any,         // any pixel shape
        Listed,      // only the frame shapes listed (and square pixels when squareToo)
    };
    Kind kind = Kind::SquareOnly;
    std::vector<AVRational> displayAspects;
    bool squareToo = false;

    static FrameShapes squareOnly() { return {}; }
    static FrameShapes any() { return {Kind::Any, {}, false}; }
    static FrameShapes listed(std::vector<AVRational> aspects, bool squareToo)
    {
        return {Kind::Listed, std::move(aspects), squareToo};
    }
};

// The geometry of showing a source picture in an output frame as players show it: turned
// upright, at its display shape, as large as the frame holds, centred, black around it.
namespace PictureGeometry {

// The turn a display matrix asks for, in degrees clockwise rounded to a quarter turn.
int rotationOfMatrix(const std::int32_t matrix[9]);
// The turn of a stream's pictures (its display matrix), 0 when it has none.
int rotationOf(const AVStream* stream);
// A stream's picture: stored size, rate, pixel shape and turn.
SourceShape shapeOf(AVFormatContext* input, AVStream* stream);

// The width / height a player shows the picture at, after turning it.
double displayAspect(const SourceShape& source);
struct Size {
    int width = 0;
    int height = 0;
};
// The picture at square pixels, turned upright: the upright height kept, the width from the
// display shape.
Size shownSize(const SourceShape& source);
// The same at even sizes (so every encoder takes them), at least 2: the height rounded down.
Size squareSize(const SourceShape& source);
// The largest size of that shape within maxWidth × maxHeight (0: no limit), even.
Size squareSizeWithin(const SourceShape& source, int maxWidth, int maxHeight);

// The pixel shape an output frame of width × height gets for a picture of `aspect` under the
// format's rules: the frame shape nearest the picture's (square pixels where the format has
// no flag; the exact shape where any is allowed).
AVRational frameSampleAspect(double aspect, int width, int height, const FrameShapes& rules);
// Where a picture of `aspect` goes in a frame of width × height whose pixels have the shape
// frameAspect: as large as fits, centred, at even offsets. A bar thinner than a rounding is no
// bar: the picture then fills that side.
PicturePlacement place(double aspect, int width, int height, AVRational frameAspect);

}  // namespace PictureGeometry
