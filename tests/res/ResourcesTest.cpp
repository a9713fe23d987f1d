// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>

#include "res/Resources.h"
#include "skin/BuildBitmapRegion.h"

namespace {

struct StripSize {
    int number;
    int width;
    int height;
    int frames;
};

// The main window's strips and their sizes.
const StripSize strips[] = {{149, 188, 45, 4}, {150, 188, 45, 4}, {151, 188, 45, 4}, {153, 188, 45, 4},
                            {161, 188, 45, 4}, {165, 188, 45, 4}, {154, 260, 66, 4}, {167, 260, 66, 4},
                            {152, 131, 19, 2}, {155, 53, 19, 4},  {156, 53, 19, 4},  {159, 53, 19, 4}};

bool sameFrame(const QImage& strip, int frameWidth, int a, int b)
{
    return strip.copy(a * frameWidth, 0, frameWidth, strip.height()) ==
           strip.copy(b * frameWidth, 0, frameWidth, strip.height());
}

}  // namespace

TEST(Resources, StripsHaveTheirSizesDistinctFramesAndNoneOfTheMappedGreys)
{
    for (const StripSize& s : strips) {
        const QImage strip = Resources::bitmap(s.number).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(strip.isNull()) << s.number;
        EXPECT_EQ(strip.size(), QSize(s.width, s.height)) << s.number;
        const int frameWidth = s.width / s.frames;
        for (int a = 0; a < s.frames; ++a)
            for (int b = a + 1; b < s.frames; ++b)
                EXPECT_FALSE(sameFrame(strip, frameWidth, a, b)) << s.number << " frames " << a << " " << b;
        int greys = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x) {
                const QRgb c = strip.pixel(x, y) & 0xFFFFFF;
                greys += c == 0x808080 || c == 0xC0C0C0 || c == 0xDFDFDF;
            }
        EXPECT_EQ(greys, 0) << s.number;
    }
}

TEST(Resources, TheSkinIsShapedWithWhiteOutsideOnly)
{
    const QImage skin = Resources::bitmap(129);
    ASSERT_EQ(skin.size(), QSize(530, 435));
    const auto region = BuildBitmapRegion(skin, WhiteKey, KeyTransparent);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->boundingRect(), skin.rect());
    EXPECT_FALSE(region->contains(QPoint(0, 0)));      // rounded corner
    EXPECT_FALSE(region->contains(QPoint(529, 434)));
    EXPECT_FALSE(region->contains(QPoint(350, 5)));    // between the two tabs
    // Everything the window's controls cover is part of the window.
    for (const QRect& control : {QRect(81, 35, 440, 162), QRect(87, 216, 345, 180), QRect(87, 402, 345, 12),
                                 QRect(14, 35, 46, 195), QRect(448, 330, 65, 65), QRect(460, 10, 53, 16),
                                 QRect(8, 390, 65, 18), QRect(9, 9, 16, 16)})
        EXPECT_TRUE(QRegion(control).subtracted(*region).isEmpty()) << control.x() << "," << control.y();
}

TEST(Resources, IconsEmblemAndCursor)
{
    for (int number : {140, 141, 171, 172, 173, 174, 176, 177, 179, 180, 181})
        EXPECT_EQ(Resources::icon(number).size(), QSize(16, 16)) << number;
    EXPECT_FALSE(Resources::icon(128).isNull());
    EXPECT_EQ(Resources::bitmap(182).size(), QSize(16, 16));
    const QImage hand = Resources::cursorImage(162);
    ASSERT_EQ(hand.size(), QSize(32, 32));
    EXPECT_EQ(Resources::cursorHotSpot(162), QPoint(6, 1));
    EXPECT_EQ(qAlpha(hand.pixel(6, 1)), 255);  // the fingertip
    EXPECT_EQ(qAlpha(hand.pixel(30, 1)), 0);
    EXPECT_EQ(Resources::cursor(162).hotSpot(), QPoint(6, 1));
    EXPECT_TRUE(Resources::bitmap(4242).isNull());
    EXPECT_TRUE(Resources::icon(4242).isNull());
}

// The window's icon is drawn at every size a desktop asks for, so a taskbar or a 200 % screen
// never scales a small one up.
TEST(Resources, ApplicationIconAtEveryDesktopSize)
{
    const QIcon icon = Resources::applicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256, 512})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    const QImage large = icon.pixmap(QSize(512, 512)).toImage();
    ASSERT_EQ(large.size(), QSize(512, 512));
    EXPECT_EQ(qAlpha(large.pixel(256, 256)), 255);  // drawn at that size, not an empty frame
    EXPECT_EQ(qAlpha(large.pixel(1, 1)), 0);        // the rounded corner stays clear
}
