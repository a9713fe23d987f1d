// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tools/BarScale.h"
#include "tools/PictureLoop.h"
#include "tools/PictureRange.h"
#include "tools/ProgressPercent.h"

namespace {

struct Taken {
    std::vector<double> times;
    std::vector<std::string> paths;
    std::vector<int> percents;  // at each refresh
};

Taken walk(double start, double span, int perSecond)
{
    Taken taken;
    for (PictureLoop loop("/out/clip", start, span, 1.0 / perSecond); loop.hasNext();) {
        taken.times.push_back(loop.time());
        taken.paths.push_back(loop.path());
        loop.advance();
        if (loop.refreshDue())
            taken.percents.push_back(loop.percent());
    }
    return taken;
}

}  // namespace

TEST(PictureLoop, TimesNamesCountsAndProgressThatMayPassAHundred)
{
    const Taken two = walk(10.0, 2.0, 2);
    EXPECT_EQ(two.times, (std::vector<double>{10.0, 10.5, 11.0, 11.5}));
    EXPECT_EQ(two.paths, (std::vector<std::string>{"/out/clip_1.bmp", "/out/clip_2.bmp", "/out/clip_3.bmp",
                                                   "/out/clip_4.bmp"}));
    EXPECT_EQ(walk(0.0, 10.0, 3).times.size(), 30u);
    // 0.9 s at 3 a second: pictures at 0, 1/3 and 2/3; shown after the first and the third.
    const Taken short_ = walk(0.0, 0.9, 3);
    EXPECT_EQ(short_.times.size(), 3u);
    EXPECT_EQ(short_.percents, (std::vector<int>{37, 111}));

    EXPECT_TRUE(walk(0.0, 0.0, 3).times.empty());
    EXPECT_TRUE(walk(0.0, -1.0, 3).times.empty());
    EXPECT_FALSE(PictureLoop("x", 0.0, 1.0, 0.0).hasNext());
}

// Picture k is taken at start + k / rate, counted from whole numbers: a whole file of d seconds
// gives d × rate pictures, the last one before its end, at every rate the tool runs at.
TEST(PictureLoop, EveryRateGivesTheExactCountAndNeverAsksForTheEnd)
{
    for (long asked = 1; asked <= 30; ++asked) {
        const int rate = int(PictureRange::clampedRate(asked));
        for (int seconds = 1; seconds <= 10; ++seconds) {
            const Taken whole = walk(0.0, seconds, rate);
            ASSERT_EQ(whole.times.size(), std::size_t(seconds * rate)) << rate << " a second over " << seconds << " s";
            EXPECT_LT(whole.times.back(), seconds);
            EXPECT_DOUBLE_EQ(whole.times.back(), double(seconds * rate - 1) / rate);
        }
        const Taken range = walk(3.1, 2.0, rate);
        EXPECT_EQ(range.times.size(), std::size_t(2 * rate)) << rate;
        EXPECT_DOUBLE_EQ(range.times.back(), 3.1 + double(2 * rate - 1) / rate);
    }
}

TEST(PictureRange, OutsideTheFileBecomesTheWholeFileAndARoundedEndIsTheDuration)
{
    EXPECT_EQ(PictureRange(10.0, 20.0, 30.0).span(), 10.0);
    for (const auto& [start, end] : std::vector<std::pair<double, double>>{{5, 5}, {6, 5}, {0, 31}, {31, 40}, {-1, 3}}) {
        const PictureRange whole(start, end, 30.0);
        EXPECT_FALSE(whole.asAsked()) << start << " to " << end;
        EXPECT_EQ(whole.start(), 0.0);
        EXPECT_EQ(whole.end(), 30.0);
    }
    // 59.96 s shows as 60.0; read back it is the duration, not beyond it.
    const PictureRange roundedUp(12.0, 60.0, 59.96);
    EXPECT_TRUE(roundedUp.asAsked());
    EXPECT_EQ(roundedUp.start(), 12.0);
    EXPECT_EQ(roundedUp.end(), 59.96);
    EXPECT_EQ(PictureRange(3.0, 59.9, 59.94).end(), 59.94);
    EXPECT_FALSE(PictureRange(12.0, 61.0, 59.96).asAsked());
}

// The scaled and hundredths bars are checked through the sound tool; here the empty cases.
TEST(ProgressPercent, EmptyLengthsNeitherDivideByZeroNorGiveAnEmptyBar)
{
    EXPECT_EQ(ProgressPercent::ofItem(29.9, 60.9), 48);  // whole seconds: 29 × 100 / 60
    EXPECT_EQ(ProgressPercent::ofItem(0.0, 0.0), 0);
    EXPECT_EQ(ProgressPercent::ofSpan(5.0, 0.0), 0);
    EXPECT_EQ(ProgressPercent::ofSpan(100000.0, 100000.0), 100);
    const BarScale empty(0.0);
    EXPECT_GT(empty.maximum(), 0);
    EXPECT_EQ(empty.position(0.0), 0);
    EXPECT_EQ(BarScale(86400.0).position(86400.0), 65535);
}
