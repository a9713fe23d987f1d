// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestMedia.h"
#include "dudidevar/subtitles/SubtitleReader.h"

namespace {

TEST(SubtitleReader, TellsUtf8FromOtherText)
{
    EXPECT_TRUE(SubtitleReader::isUtf8("plain, Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(SubtitleReader::isUtf8("Caf\xe9"));         // Latin-1
    EXPECT_FALSE(SubtitleReader::isUtf8("\xc0\xaf"));        // an overlong slash
    EXPECT_FALSE(SubtitleReader::isUtf8("cut \xe2\x82"));    // a character cut short
}

// SubRip from an old Windows program, in Windows-1252, and WebVTT in UTF-8: both read with their
// words and times.
TEST(SubtitleReader, ReadsFilesInTheirCharacterSetWithTheirTimes)
{
    const std::string latin = TestMedia::fileWith("latin.srt", "1\r\n00:00:01,000 --> 00:00:02,500\r\nCaf\xe9 \x93noir\x94\r\n\r\n");
    SubtitleEvents events;
    std::string error;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(SubtitleReader::readFile(latin, &events, &error)) << error;
    EXPECT_NE(testing::internal::GetCapturedStderr().find("latin.srt is not UTF-8 text; it is read as Windows-1252"),
              std::string::npos);
    ASSERT_EQ(events.events.size(), 1u);
    EXPECT_NE(events.events[0].line.find("Caf\xc3\xa9 \xe2\x80\x9cnoir\xe2\x80\x9d"), std::string::npos)
        << events.events[0].line;
    EXPECT_NEAR(events.events[0].start, 1.0, 0.001);
    EXPECT_NEAR(events.events[0].end, 2.5, 0.001);
    EXPECT_TRUE(events.text);
    EXPECT_NE(events.header.find("[V4+ Styles]"), std::string::npos);

    const std::string vtt = TestMedia::fileWith(
        "two.vtt", "WEBVTT\n\n00:00:00.500 --> 00:00:01.000\nerste\n\n00:01:00.000 --> 00:01:02.000\nzweite \xc3\xa4\n\n");
    ASSERT_TRUE(SubtitleReader::readFile(vtt, &events, &error)) << error;
    ASSERT_EQ(events.events.size(), 2u);
    EXPECT_NE(events.events[1].line.find("zweite \xc3\xa4"), std::string::npos);
    EXPECT_NEAR(events.events[1].start, 60.0, 0.001);
}

}  // namespace
