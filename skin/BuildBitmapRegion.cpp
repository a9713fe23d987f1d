// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/BuildBitmapRegion.h"

#include <new>

namespace {

// Reads 32-bit pictures in place (their bytes blue, green, red, fourth); anything else is
// converted to a 32-bit copy first.
QImage thirtyTwoBitCopy(const QImage& bitmap)
{
    switch (bitmap.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return bitmap;
    default: return bitmap.convertToFormat(QImage::Format_RGB32);
    }
}

void flush(RegionRectBuffer& buffer, const RegionBatchSink& sink)
{
    sink(RegionBatch{buffer.rects(), buffer.count(), buffer.capacity(), buffer.bound()});
    buffer.clear();
}

}  // namespace

bool ScanBitmapRuns(const QImage& bitmap, quint32 key, int mode, const RegionBatchSink& sink)
{
    if (bitmap.isNull())
        return false;
    const QImage copy = thirtyTwoBitCopy(bitmap);
    if (copy.isNull())
        return false;
    try {
        RegionRectBuffer buffer;
        const int width = copy.width();
        const int height = copy.height();
        const quint32 colour = key & 0xFFFFFF;
        const bool keepOthers = mode != 0;
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const quint32*>(copy.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const int x0 = x;
                while (x < width && (((row[x] & 0xFFFFFF) != colour) == keepOthers))
                    ++x;
                if (x > x0) {
                    buffer.append(x0, y, x, y + 1);
                    if (buffer.count() == MaxRectsPerBatch)
                        flush(buffer, sink);
                }
            }
        }
        flush(buffer, sink);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::optional<QRegion> BuildBitmapRegion(const QImage& bitmap, quint32 key, int mode)
{
    std::optional<QRegion> result;
    const bool scanned = ScanBitmapRuns(bitmap, key, mode, [&result](const RegionBatch& batch) {
        QRegion part;
        part.setRects(batch.rects, batch.count);
        if (!result)
            result = part;
        else
            *result = result->united(part);
    });
    if (!scanned)
        return std::nullopt;
    return result;
}
