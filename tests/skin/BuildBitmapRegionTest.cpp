// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QRegion>
#include <vector>

#include "skin/BuildBitmapRegion.h"

namespace {

constexpr QRgb key = 0xFFFFFFFF;
constexpr QRgb ink = 0xFF336699;

QImage picture(int width, int height, QRgb fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

struct Scan {
    bool ok = false;
    std::vector<std::vector<QRect>> batches;
};

Scan scan(const QImage& image, quint32 keyColour = WhiteKey, int mode = KeyTransparent)
{
    Scan result;
    result.ok = ScanBitmapRuns(image, keyColour, mode, [&result](const RegionBatch& batch) {
        result.batches.emplace_back(batch.rects, batch.rects + batch.count);
    });
    return result;
}

bool sameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

}  // namespace

TEST(BuildBitmapRegion, AllKeyGivesAnEmptyRegionAndNoBitmapNone)
{
    EXPECT_FALSE(BuildBitmapRegion(QImage(), WhiteKey, KeyTransparent).has_value());
    const auto region = BuildBitmapRegion(picture(7, 4, key), WhiteKey, KeyTransparent);
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(region->isEmpty());
}

TEST(BuildBitmapRegion, TheTwoModesAreComplementary)
{
    QImage image = picture(23, 17, ink);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((x * 7 + y * 3) % 5 == 0 || (x > 10 && y < 4))
                image.setPixel(x, y, key);
    const auto outside = BuildBitmapRegion(image, WhiteKey, KeyOpaque);
    const auto inside = BuildBitmapRegion(image, WhiteKey, KeyTransparent);
    ASSERT_TRUE(outside && inside);
    EXPECT_TRUE(outside->intersected(*inside).isEmpty());
    EXPECT_TRUE(sameArea(outside->united(*inside), QRegion(image.rect())));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(outside->contains(QPoint(x, y)), image.pixel(x, y) == key) << x << "," << y;
}

TEST(BuildBitmapRegion, ManyRunsAreBatchedByTwoThousandAndGiveTheSameRegion)
{
    // Every odd column of two rows is a run: 1500 runs a row, so the first batch is full in
    // the middle of the second row.
    QImage image = picture(3001, 2, key);
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x < image.width(); x += 2)
            image.setPixel(x, y, ink);
    const Scan s = scan(image);
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.batches.size(), 2u);
    EXPECT_EQ(s.batches[0].size(), 2000u);
    EXPECT_EQ(s.batches[1].size(), 1000u);
    EXPECT_EQ(s.batches[1].front(), QRect(1001, 1, 1, 1));

    std::vector<QRect> all = s.batches[0];
    all.insert(all.end(), s.batches[1].begin(), s.batches[1].end());
    QRegion oneBatch;
    oneBatch.setRects(all.data(), static_cast<int>(all.size()));
    const auto region = BuildBitmapRegion(image, WhiteKey, KeyTransparent);
    ASSERT_TRUE(region);
    EXPECT_TRUE(sameArea(*region, oneBatch));
    EXPECT_EQ(oneBatch.boundingRect(), QRect(1, 0, 2999, 2));
}

TEST(BuildBitmapRegion, KeyBytesAreBlueGreenRedFromTheLowByte)
{
    QImage image = picture(2, 1, ink);
    image.setPixel(0, 0, qRgb(0x11, 0x22, 0x33));  // red 0x11, blue 0x33: the key 0x112233
    image.setPixel(1, 0, qRgb(0x33, 0x22, 0x11));
    const Scan s = scan(image, 0x00112233, KeyOpaque);
    ASSERT_EQ(s.batches.size(), 1u);
    EXPECT_EQ(s.batches[0], std::vector<QRect>{QRect(0, 0, 1, 1)});
}

TEST(BuildBitmapRegion, FourthByteOfThePixelsAndOfTheKeyPlaysNoPart)
{
    QImage image(6, 2, QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, y, qRgba(0x12, 0x34, 0x56, x * 40 + y));
    const auto region = BuildBitmapRegion(image, 0xAB123456, KeyTransparent);
    ASSERT_TRUE(region);
    EXPECT_TRUE(region->isEmpty());
}

TEST(BuildBitmapRegion, OtherPixelFormatsAreReadThroughAThirtyTwoBitCopy)
{
    QImage image = picture(4, 2, key).convertToFormat(QImage::Format_RGB16);
    image.setPixel(2, 1, qRgb(0, 0, 0));
    const auto region = BuildBitmapRegion(image, WhiteKey, KeyTransparent);
    ASSERT_TRUE(region);
    EXPECT_TRUE(sameArea(*region, QRegion(2, 1, 1, 1)));
}
