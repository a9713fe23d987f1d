// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PictureGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace PictureGeometry {

namespace {

// A bar of at most this share of the frame's side is left out: the picture is stretched over
// it instead, by less than the 1 % a viewer could tell.
constexpr double kNegligibleBar = 0.005;

bool quarterTurned(int rotation)
{
    return rotation == 90 || rotation == 270;
}

double shapeOf(AVRational aspect)
{
    return aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
}

int evenBelow(int value)
{
    return std::max(2, value & ~1);
}

int evenAtLeast2(double value)
{
    return std::max(2, int(std::lround(value / 2.0)) * 2);
}

// How far apart two shapes look: the ratio of the larger to the smaller.
double shapeDistance(double a, double b)
{
    return std::fabs(std::log(a / b));
}

AVRational reduced(double value)
{
    AVRational result{};
    av_reduce(&result.num, &result.den, std::int64_t(std::llround(value * 1000000.0)), 1000000, 255);
    return result;
}

}  // namespace

int rotationOfMatrix(const std::int32_t matrix[9])
{
    const double counterClockwise = av_display_rotation_get(matrix);
    if (!std::isfinite(counterClockwise))
        return 0;
    const long quarters = std::lround(-counterClockwise / 90.0);
    return int(((quarters % 4) + 4) % 4) * 90;
}

int rotationOf(const AVStream* stream)
{
    std::size_t size = 0;
    const std::uint8_t* data = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(std::int32_t))
        return 0;
    return rotationOfMatrix(reinterpret_cast<const std::int32_t*>(data));
}

SourceShape shapeOf(AVFormatContext* input, AVStream* stream)
{
    SourceShape shape;
    shape.width = stream->codecpar->width;
    shape.height = stream->codecpar->height;
    shape.frameRate = av_guess_frame_rate(input, stream, nullptr);
    shape.sampleAspect = av_guess_sample_aspect_ratio(input, stream, nullptr);
    shape.averageRate = stream->avg_frame_rate;
    shape.rotation = rotationOf(stream);
    return shape;
}

double displayAspect(const SourceShape& source)
{
    if (source.width <= 0 || source.height <= 0)
        return 1.0;
    const double stored = shapeOf(source.sampleAspect) * source.width / source.height;
    return quarterTurned(source.rotation) ? 1.0 / stored : stored;
}

Size shownSize(const SourceShape& source)
{
    const int height = std::max(1, quarterTurned(source.rotation) ? source.width : source.height);
    return {std::max(1, int(std::lround(height * displayAspect(source)))), height};
}

Size squareSize(const SourceShape& source)
{
    const int height = evenBelow(quarterTurned(source.rotation) ? source.width : source.height);
    return {evenAtLeast2(height * displayAspect(source)), height};
}

Size squareSizeWithin(const SourceShape& source, int maxWidth, int maxHeight)
{
    const double aspect = displayAspect(source);
    Size size = squareSize(source);
    if (maxWidth > 0 && size.width > maxWidth) {
        size.width = evenBelow(maxWidth);
        size.height = evenBelow(int(size.width / aspect));
    }
    if (maxHeight > 0 && size.height > maxHeight) {
        size.height = evenBelow(maxHeight);
        size.width = std::min(evenAtLeast2(size.height * aspect), std::max(2, size.width));
    }
    return size;
}

AVRational frameSampleAspect(double aspect, int width, int height, const FrameShapes& rules)
{
    if (width <= 0 || height <= 0 || !(aspect > 0))
        return {1, 1};
    const double square = double(width) / height;
    switch (rules.kind) {
    case FrameShapes::Kind::SquareOnly:
        return {1, 1};
    case FrameShapes::Kind::Any: {
        const AVRational result = reduced(aspect / square);
        return std::fabs(av_q2d(result) - 1.0) < kNegligibleBar ? AVRational{1, 1} : result;
    }
    case FrameShapes::Kind::Listed:
        break;
    }
    const AVRational* nearest = nullptr;
    for (const AVRational& allowed : rules.displayAspects) {
        if (!nearest || shapeDistance(av_q2d(allowed), aspect) < shapeDistance(av_q2d(*nearest), aspect))
            nearest = &allowed;
    }
    if (!nearest || (rules.squareToo && shapeDistance(square, aspect) <= shapeDistance(av_q2d(*nearest), aspect)))
        return {1, 1};
    AVRational result{};
    av_reduce(&result.num, &result.den, std::int64_t(nearest->num) * height, std::int64_t(nearest->den) * width,
              INT_MAX);
    return result;
}

PicturePlacement place(double aspect, int width, int height, AVRational frameAspect)
{
    PicturePlacement where{0, 0, std::max(width, 1), std::max(height, 1)};
    if (width <= 0 || height <= 0 || !(aspect > 0))
        return where;
    const double frameShape = shapeOf(frameAspect) * width / height;
    if (aspect > frameShape)
        where.height = std::max(1, int(std::lround(height * frameShape / aspect)));
    else
        where.width = std::max(1, int(std::lround(width * aspect / frameShape)));
    if (width - where.width <= width * kNegligibleBar)
        where.width = width;
    if (height - where.height <= height * kNegligibleBar)
        where.height = height;
    where.x = ((width - where.width) / 2) & ~1;
    where.y = ((height - where.height) / 2) & ~1;
    return where;
}

}  // namespace PictureGeometry
