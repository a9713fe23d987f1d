// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>

#include "skin/HoverFrames.h"
#include "skin/SkinColors.h"

using namespace SkinColors;

// Offsets stop at the channel that reaches white or black first, so the hue stays; dimming
// factors outside 0..1 leave the colour as it was.
TEST(OffsetColor, StopsAtTheFirstChannelToReachItsEndAndDimmingIgnoresBadFactors)
{
    EXPECT_EQ(OffsetColorValue(QColor(240, 200, 200), 30), QColor(255, 215, 215));
    EXPECT_EQ(OffsetColorValue(QColor(255, 10, 10), 30), QColor(255, 10, 10));
    EXPECT_EQ(OffsetColorValue(QColor(100, 20, 60), -50), QColor(80, 0, 40));
    for (double factor : {1.5, -0.5})
        EXPECT_EQ(DimColor(QColor(200, 101, 3), factor), QColor(200, 101, 3)) << factor;
}

TEST(IconCopies, KeepBlackAndTransparencyAndRecolourTheRest)
{
    QImage icon(3, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(255, 0, 0, 255));
    icon.setPixel(2, 0, qRgba(200, 100, 40, 0));
    const QImage grey = MakeGrayscaleIcon(icon).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(grey.pixel(1, 0), qRgba(76, 76, 76, 255));
    EXPECT_EQ(qAlpha(grey.pixel(2, 0)), 0);
    const QImage darker = MakeDarkerIcon(icon).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(darker.pixel(1, 0), qRgba(191, 0, 0, 255));
    EXPECT_EQ(darker.size(), icon.size());
}

TEST(HoverFrames, MapsTheThreeGreysToTheDesktopColours)
{
    QImage strip(4, 1, QImage::Format_RGB32);
    strip.setPixel(0, 0, qRgb(128, 128, 128));
    strip.setPixel(1, 0, qRgb(192, 192, 192));
    strip.setPixel(2, 0, qRgb(223, 223, 223));
    strip.setPixel(3, 0, qRgb(192, 192, 193));
    const QImage mapped = HoverFrames::Map3DColors(strip, QColor(1, 2, 3), QColor(4, 5, 6), QColor(7, 8, 9));
    EXPECT_EQ(mapped.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(mapped.pixel(1, 0), qRgb(4, 5, 6));
    EXPECT_EQ(mapped.pixel(2, 0), qRgb(7, 8, 9));
    EXPECT_EQ(mapped.pixel(3, 0), qRgb(192, 192, 193));
}
