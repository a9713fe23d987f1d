#include <gtest/gtest.h>

#include "editor/AviChoice.h"
#include "editor/MpegChoice.h"
#include "editor/MpegPresetState.h"
#include "editor/PictureSizes.h"
#include "editor/WmvProfileChoices.h"

namespace {

struct PresetCase {
    int mode;
    bool ntsc;
    int width, height, frameRate;
    const char* bitRate;
};

MpegPresetState openedOn(int mode, bool ntsc)
{
    MpegPresetState state;
    state.open();
    state.setNtsc(ntsc);
    state.apply(mode);
    return state;
}

}  // namespace

TEST(MpegPresets, DiscPresetsFixSizeRateAndBitRateForEachStandard)
{
    const PresetCase cases[] = {
        {0, true, 720, 480, 3, "5000"},  {0, false, 720, 576, 2, "5000"},
        {1, true, 352, 240, 3, "1150"},  {1, false, 352, 288, 2, "1150"},
        {2, true, 480, 480, 3, "2500"},  {2, false, 480, 576, 2, "2500"},
    };
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " ntsc " << c.ntsc);
        const MpegChoice shown = openedOn(c.mode, c.ntsc).shown();
        EXPECT_EQ(PictureSizes::pixelsAt(shown.widthPosition), c.width);
        EXPECT_EQ(PictureSizes::pixelsAt(shown.heightPosition), c.height);
        EXPECT_EQ(shown.frameRatePosition, c.frameRate);
        EXPECT_EQ(shown.videoBitRate, c.bitRate);
        EXPECT_EQ(shown.quality, "100");
        EXPECT_EQ(shown.audioBitRatePosition, 1);
    }
}

TEST(MpegPresets, EnableStatesOfEachMode)
{
    for (const bool vbr : {false, true}) {
        for (int mode = 0; mode < 4; ++mode) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " vbr " << vbr);
            MpegPresetState state;
            state.open();
            state.setVbr(vbr);
            state.apply(mode);
            const auto& e = state.enables();
            const bool vbrOffered = mode == 0 || mode == 3;
            EXPECT_EQ(e.standardButtons, mode != 3);
            EXPECT_EQ(e.vbrBox, vbrOffered);
            EXPECT_EQ(e.qualityField, vbrOffered && vbr);
            EXPECT_EQ(e.bitRateField, vbrOffered && !vbr);
            EXPECT_EQ(e.sizeAndRateLists, mode == 3);
            // Disabled by the opening DVD preset and never enabled again.
            EXPECT_FALSE(e.originalSizeBox);
        }
    }
}

TEST(MpegPresets, VcdClearsVbrAndDvdDoesNotSetItAgain)
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
}

TEST(MpegPresets, UserEntriesSurviveAPresetThatDoesNotFixThem)
{
    MpegPresetState state;
    state.open();
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
    // A disc preset still fixes the picture.
    state.apply(MpegPresetState::Dvd);
    EXPECT_EQ(state.shown().widthPosition, 44);
}

TEST(MpegChoiceWrite, FreshDvdStoresTheDiscValues)
{
    TaskSettings s;
    MpegPresetState::presetChoice(OutputKind::Dvd, true).writeTo(s, OutputKind::Dvd, true);
    EXPECT_EQ(s.format, OutputFormat::DvdNtsc);
    EXPECT_EQ(s.width, 720);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.mpegFrameRateIndex, 3);
    EXPECT_EQ(s.videoBitRate, 5000);
    EXPECT_EQ(s.audioBitRate, 224);
    EXPECT_EQ(s.vbr, 0);
    EXPECT_EQ(s.vbrQuality, 100);
    EXPECT_EQ(s.keepSourceSize, 0);
}

TEST(MpegChoiceWrite, NumberFieldsAreClampedAtTheirUpperLimitsOnly)
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
}

TEST(MpegChoiceWrite, AudioBitRateFollowsTheListExceptForVcd)
{
    MpegChoice c;
    c.audioBitRatePosition = 0;
    TaskSettings s;
    c.writeTo(s, OutputKind::Svcd, false);
    EXPECT_EQ(s.audioBitRate, 128);
    EXPECT_EQ(s.format, OutputFormat::SvcdPal);
    c.writeTo(s, OutputKind::Vcd, false);
    EXPECT_EQ(s.audioBitRate, 224);
    EXPECT_EQ(s.format, OutputFormat::VcdPal);
    c.audioBitRatePosition = -1;
    c.writeTo(s, OutputKind::MpegCustom, false);
    EXPECT_EQ(s.audioBitRate, 224);
    EXPECT_EQ(s.format, OutputFormat::MpegCustom);
}

TEST(AviDefaultsRules, CompressorPreferenceTakesTheLastMatchInAnyCase)
{
    EXPECT_EQ(AviChoice::preferredPosition({"Cinepak", "Indeo"}, "divx"), 0);
    EXPECT_EQ(AviChoice::preferredPosition({"Cinepak", "DIVX 4", "x", "my DivX pro"}, "divx"), 3);
    EXPECT_EQ(AviChoice::preferredPosition({"PCM", "MPEG Layer-3", "GSM"}, "mpeg layer-3"), 1);
    EXPECT_EQ(AviChoice::preferredPosition({}, "divx"), -1);
}

TEST(AviDefaultsRules, OriginalSizeKeepsTheRecordsSize)
{
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

TEST(WmvProfiles, SkipsAudioNamesCaseSensitivelyAndKeepsTheControlsIndex)
{
    const WmvProfileChoices choices({"Video 56", "Audio only 32", "Video 768", "audio and video 300"});
    ASSERT_EQ(choices.count(), 3);
    EXPECT_EQ(choices.name(1), "Video 768");
    EXPECT_EQ(choices.controlIndex(0), 0);
    EXPECT_EQ(choices.controlIndex(1), 2);
    EXPECT_EQ(choices.controlIndex(2), 3);
    EXPECT_EQ(choices.controlIndex(-1), -1);
    EXPECT_EQ(WmvProfileChoices({}).controlIndex(0), -1);
}
