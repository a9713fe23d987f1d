// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tasks/OutputKind.h"
#include "tasks/OutputNaming.h"

using OutputNaming::defaultOutputPath;
using OutputNaming::defaultOutputPathIn;
using OutputNaming::splitPartPath;

TEST(DefaultOutputPath, KindSuffixReplacesExtensionInSourceFolder)
{
    EXPECT_EQ(defaultOutputPath("/clips/holiday.mpg", OutputKind::Avi), "/clips/holiday_output.avi");
    EXPECT_EQ(defaultOutputPath("/clips/holiday.mpg", OutputKind::Dvd), "/clips/holiday_output.mpg");
    EXPECT_EQ(defaultOutputPath("/clips/holiday.mpg", OutputKind::Wmv), "/clips/holiday_output.wmv");
    EXPECT_EQ(defaultOutputPath("/clips/holiday.tar.mpg", OutputKind::Avi), "/clips/holiday.tar_output.avi");
}

TEST(DefaultOutputPath, NameWithoutDotGivesFolderAndSuffixAndABrowsedFolderOneSeparator)
{
    EXPECT_EQ(defaultOutputPath("/clips/holiday", OutputKind::Avi), "/clips/_output.avi");
    // A dot in a folder name is never taken for the extension.
    EXPECT_EQ(defaultOutputPath("/my.clips/holiday", OutputKind::Avi), "/my.clips/_output.avi");
    EXPECT_EQ(defaultOutputPath("holiday.avi", OutputKind::Wmv), "holiday_output.wmv");
    EXPECT_EQ(defaultOutputPathIn("/", "/clips/holiday.mpg", OutputKind::Avi), "/holiday_output.avi");
    EXPECT_EQ(defaultOutputPathIn("/out/", "/clips/holiday.mpg", OutputKind::Avi), "/out/holiday_output.avi");
}

TEST(SplitPartPath, NumbersGoBeforeTheExtensionNeverADotInAFolder)
{
    EXPECT_EQ(splitPartPath("/v/a.avi", 0, 60), "/v/a.avi");
    EXPECT_EQ(splitPartPath("/v/a.avi", 60, 60), "/v/a_001.avi");
    EXPECT_EQ(splitPartPath("/v/a.avi", 1000 * 15, 15), "/v/a_1000.avi");
    EXPECT_EQ(splitPartPath("/v.d/a", 30, 15), "/v.d/a_002");
    EXPECT_EQ(splitPartPath("/v.d/a.b.mpg", 30, 30), "/v.d/a.b_001.mpg");
    EXPECT_EQ(splitPartPath("noext", 60, 60), "noext_001");
}

TEST(PictureAndAudioNames, BaseNameOrWholeFileName)
{
    const std::string prefix = OutputNaming::picturePrefix("/out/", "/video/clip.avi");
    EXPECT_EQ(prefix, "/out/clip");
    EXPECT_EQ(OutputNaming::picturePath(prefix, 12), "/out/clip_12.bmp");
    EXPECT_EQ(OutputNaming::picturePrefix("/out/", "/video.d/clip"), "/out/clip");
    EXPECT_EQ(OutputNaming::audioOutputPath("/a/", "/v/talk.mpg", false), "/a/talk.wav");
    EXPECT_EQ(OutputNaming::audioOutputPath("/a/", "/v.x/talk", true), "/a/talk.wma");
}

TEST(OutputKinds, FormatCodesRoundTrip)
{
    EXPECT_EQ(OutputKinds::toFormat(OutputKind::Dvd, true), OutputFormat::DvdNtsc);
    EXPECT_EQ(OutputKinds::toFormat(OutputKind::Dvd, false), OutputFormat::DvdPal);
    for (std::uint32_t code = 0; code <= 8; ++code) {
        const auto format = static_cast<OutputFormat>(code);
        const OutputKind kind = OutputKinds::fromFormat(format);
        const bool ntsc = code <= 5 ? (code % 2 == 1) : true;
        EXPECT_EQ(OutputKinds::toFormat(kind, ntsc), format) << code;
    }
    EXPECT_EQ(OutputKinds::presetMode(OutputKind::Svcd), 2);
}
