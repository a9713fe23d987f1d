// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "editor/AviChoice.h"
#include "editor/MpegChoice.h"
#include "editor/MpegPresetState.h"
#include "editor/OutputClash.h"
#include "editor/PictureSizes.h"
#include "tasks/TaskList.h"

TEST(MpegPresets, EachKindShowsAndStoresItsPresetAndEnablesItsFields)
{
    struct Case {
        int mode;
        OutputKind kind;
        bool ntsc;
        OutputFormat format;
        int width, height, frameRate;
        const char* bitRate;
    };
    const Case cases[] = {
        {0, OutputKind::Dvd, true, OutputFormat::DvdNtsc, 720, 480, 3, "5000"},
        {0, OutputKind::Dvd, false, OutputFormat::DvdPal, 720, 576, 2, "5000"},
        {1, OutputKind::Vcd, true, OutputFormat::VcdNtsc, 352, 240, 3, "1150"},
        {1, OutputKind::Vcd, false, OutputFormat::VcdPal, 352, 288, 2, "1150"},
        {2, OutputKind::Svcd, true, OutputFormat::SvcdNtsc, 480, 480, 3, "2500"},
        {2, OutputKind::Svcd, false, OutputFormat::SvcdPal, 480, 576, 2, "2500"},
        {3, OutputKind::MpegCustom, true, OutputFormat::MpegCustom, 720, 480, 3, "2000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " ntsc " << c.ntsc);
        for (const bool vbr : {false, true}) {
            MpegPresetState state;
            state.open();
            state.setNtsc(c.ntsc);
            state.setVbr(vbr);
            state.apply(c.mode);
            const MpegChoice shown = state.shown();
            EXPECT_EQ(PictureSizes::pixelsAt(shown.widthPosition), c.width);
            EXPECT_EQ(PictureSizes::pixelsAt(shown.heightPosition), c.height);
            EXPECT_EQ(shown.frameRatePosition, c.frameRate);
            EXPECT_EQ(shown.videoBitRate, c.bitRate);
            EXPECT_EQ(shown.quality, "100");
            EXPECT_EQ(shown.audioBitRatePosition, 1);
            const auto& e = state.enables();
            const bool vbrOffered = c.mode == 0 || c.mode == 3;
            EXPECT_EQ(e.standardButtons, c.mode != 3);
            EXPECT_EQ(e.vbrBox, vbrOffered);
            EXPECT_EQ(e.qualityField, vbrOffered && vbr);
            EXPECT_EQ(e.bitRateField, vbrOffered && !vbr);
            EXPECT_EQ(e.sizeAndRateLists, c.mode == 3);
            // Disabled by the opening DVD preset and never enabled again.
            EXPECT_FALSE(e.originalSizeBox);
        }
        TaskSettings s;
        MpegPresetState::presetChoice(c.kind, c.ntsc).writeTo(s, c.kind, c.ntsc);
        EXPECT_EQ(s.format, c.format);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
        EXPECT_EQ(s.mpegFrameRateIndex, c.frameRate);
        EXPECT_EQ(s.videoBitRate, std::stoi(c.bitRate));
        EXPECT_EQ(s.audioBitRate, 224);
        EXPECT_EQ(s.vbr, 0);
        EXPECT_EQ(s.vbrQuality, 100);
        EXPECT_EQ(s.keepSourceSize, 0);
    }
}

TEST(MpegPresets, VcdClearsVbrAndUserEntriesSurviveAPresetThatDoesNotFixThem)
{
    MpegPresetState state;
    state.open();
    state.setVbr(true);
    EXPECT_TRUE(state.shown().vbr);
    state.apply(MpegPresetState::Vcd);
    EXPECT_FALSE(state.shown().vbr);
    state.apply(MpegPresetState::Dvd);
    EXPECT_FALSE(state.shown().vbr);
    EXPECT_TRUE(state.enables().bitRateField);

    state.apply(MpegPresetState::Custom);
    MpegChoice typed = state.shown();
    typed.vbr = true;
    typed.quality = "55";
    typed.widthPosition = 39;  // 640
    typed.audioBitRatePosition = 0;
    state.takeBack(typed);
    state.apply(MpegPresetState::Custom);
    EXPECT_EQ(state.shown().quality, "55");
    EXPECT_EQ(state.shown().widthPosition, 39);
    EXPECT_EQ(state.shown().audioBitRatePosition, 0);
    state.apply(MpegPresetState::Dvd);
    EXPECT_EQ(state.shown().widthPosition, 44);
}

TEST(MpegChoiceWrite, NumbersClampAtTheirUpperLimitsAndVcdAudioIsFixed)
{
    MpegChoice c = MpegPresetState::presetChoice(OutputKind::MpegCustom, true);
    TaskSettings s;
    const std::pair<const char*, std::int32_t> qualities[] = {
        {"150", 100}, {"100", 100}, {"5", 5}, {"", 0}, {"99999999999999999999", 100}};
    for (const auto& [text, stored] : qualities) {
        c.quality = text;
        c.writeTo(s, OutputKind::MpegCustom, true);
        EXPECT_EQ(s.vbrQuality, stored) << text;
    }
    const std::pair<const char*, std::int32_t> rates[] = {{"12000", 10000}, {"10000", 10000}, {"800", 800}};
    for (const auto& [text, stored] : rates) {
        c.videoBitRate = text;
        c.writeTo(s, OutputKind::MpegCustom, true);
        EXPECT_EQ(s.videoBitRate, stored) << text;
    }

    c.audioBitRatePosition = 0;
    c.writeTo(s, OutputKind::Svcd, false);
    EXPECT_EQ(s.audioBitRate, 128);
    c.writeTo(s, OutputKind::Vcd, false);
    EXPECT_EQ(s.audioBitRate, 224);
    c.audioBitRatePosition = -1;
    c.writeTo(s, OutputKind::MpegCustom, false);
    EXPECT_EQ(s.audioBitRate, 224);
}

TEST(AviChoiceRules, CompressorPreferenceTakesTheLastMatchAndOriginalSizeKeepsTheRecordsSize)
{
    EXPECT_EQ(AviChoice::preferredPosition({"Cinepak", "Indeo"}, "divx"), 0);
    EXPECT_EQ(AviChoice::preferredPosition({"PCM", "MPEG Layer-3", "GSM"}, "mpeg layer-3"), 1);
    EXPECT_EQ(AviChoice::preferredPosition({}, "divx"), -1);

    TaskSettings s;
    s.width = 640;
    s.height = 360;
    AviChoice c = AviChoice::defaults({}, {});
    c.originalSize = true;
    c.frameRatePosition = 6;
    c.writeTo(s);
    EXPECT_EQ(s.keepSourceSize, 1);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 360);
    EXPECT_FLOAT_EQ(s.frameRate, 60.0f);
}

TEST(OutputClashes, SplitPartsAndOutputsMeetOnlyWhereTheyNameOneFile)
{
    struct Case {
        const char* output;
        bool split;
        const char* file;
        bool writes;
    };
    const Case cases[] = {
        {"/v/a.avi", false, "/v/a.avi", true},
        {"/v/a.avi", false, "/v/./x/../a.avi", true},
        {"/v/a.avi", false, "/v/a_001.avi", false},
        {"/v/a.avi", true, "/v/a_001.avi", true},
        {"/v/a.avi", true, "/v/a_1234.avi", true},
        {"/v/a.avi", true, "/v/a_000.avi", false},
        {"/v/a.avi", true, "/v/a_01.avi", false},
        {"/v/a.avi", true, "/v/a_0012.avi", false},
        {"/v/a.avi", true, "/v/a_001.mpg", false},
        {"/v/a.avi", true, "/v/a_x01.avi", false},
        {"/v/a.avi", true, "/v/b_001.avi", false},
        {"/v.d/a", true, "/v.d/a_002", true},
        {"/v.d/a", true, "/v.d/a_002.avi", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutputClash::writes(c.output, c.split, c.file), c.writes) << c.output << " " << c.split << " " << c.file;
}

TEST(OutputClashes, FindsTheOtherTaskButNeverTheEditedOne)
{
    TaskList tasks;
    tasks.append({"/v/a.mpg"}, "/v/a_output.mpg", "To DVD");
    tasks.append({"/v/b.mpg"}, "/v/b.avi", "To AVI");
    tasks.at(1).settings->split = 1;
    tasks.append({"/v/c.mpg", "/v/d.mpg"}, "/v/c.avi", "To AVI");
    tasks.at(2).settings->split = 1;  // a join is never split

    const auto found = OutputClash::find(tasks, std::nullopt, "/v/a_output.mpg", false);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->task, 0u);
    EXPECT_EQ(found->file, "/v/a_output.mpg");
    EXPECT_FALSE(OutputClash::find(tasks, 0, "/v/a_output.mpg", false));

    const auto part = OutputClash::find(tasks, std::nullopt, "/v/b_003.avi", false);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->task, 1u);
    EXPECT_FALSE(OutputClash::find(tasks, std::nullopt, "/v/c_001.avi", false));

    const auto mine = OutputClash::find(tasks, std::nullopt, "/v/a_output.avi", true);
    EXPECT_FALSE(mine);
    tasks.append({"/v/e.mpg"}, "/v/a_output_002.mpg", "To VCD");
    const auto ourPart = OutputClash::find(tasks, std::nullopt, "/v/a_output.mpg", true);
    ASSERT_TRUE(ourPart);
    EXPECT_EQ(ourPart->task, 0u);
    const auto ourPartOnly = OutputClash::find(tasks, 0, "/v/a_output.mpg", true);
    ASSERT_TRUE(ourPartOnly);
    EXPECT_EQ(ourPartOnly->task, 3u);
    EXPECT_EQ(ourPartOnly->file, "/v/a_output_002.mpg");
}
