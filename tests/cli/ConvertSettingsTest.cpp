// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "CommaDecimalLocale.h"
#include "Mp4Defaults.h"
#include "ScriptedControl.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertSettings.h"
#include "engine/CDudidEvar.h"

namespace {

// marvane-cli convert's task record for a command line, on a scripted control.
class ConvertSettingsTest : public ::testing::Test {
protected:
    ConvertSettingsTest() { attach({"Audio 32", "Video 56", "Video 768"}); }

    void attach(std::vector<std::string> wmvProfiles, std::vector<short> videoCodecs = {0, 1, 2})
    {
        ScriptedControl::Script script;
        script.videoCodecs = std::move(videoCodecs);
        script.videoCompressors = {"Cinepak", "DivX 5", "Xvid", "divx pro"};
        script.audioCompressors = {"PCM", "MPEG Layer-3", "GSM"};
        script.wmvProfiles = std::move(wmvProfiles);
        control_.Attach(std::make_unique<ScriptedControl>(script));
    }

    bool fill(std::vector<std::string> args)
    {
        args.push_back("in.avi");
        ConvertOptions options;
        settings_ = TaskSettings{};
        error_.clear();
        return options.parse(args, &error_) && ConvertSettings::fill(control_, options, settings_, &error_);
    }

    CDudidEvar control_;
    TaskSettings settings_;
    std::string error_;
};

TEST_F(ConvertSettingsTest, OptionsThatDoNotFitTheKindAreRefusedWithTheReason)
{
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--to", "svcd", "--vbr", "80"}, "VCD and SVCD have a fixed bit rate"},
        {{"--to", "dvd", "--size", "640x480"}, "the disc formats have a fixed size and frame rate"},
        {{"--to", "mpeg", "--original-size"}, "MPEG output does not keep the source size"},
        {{"--to", "mpeg", "--fps", "15"}, "MPEG frame rates are 23.976, 24, 25, 29.97 and 30"},
        {{"--to", "avi", "--video-compressor", "h264"}, "no video compressor named h264"},
        {{"--to", "wmv", "--profile", "0"}, "no video profile 0"},
        {{"--to", "wmv", "--profile", "3"}, "no video profile 3"},
        {{"--to", "mpeg", "--size", "65540x288"}, "custom MPEG pictures are 2 to 4095 pixels wide, not 65540"},
        {{"--to", "avi", "--size", "99999x99999"}, "AVI pictures are 2 to 8191 pixels wide, not 99999"},
        {{"--to", "avi", "--fps", "1e-9"}, "AVI frame rates go from 1 to 120 frames a second, not 1e-09"}};
    for (const auto& [args, message] : refused) {
        EXPECT_FALSE(fill(args)) << message;
        EXPECT_EQ(error_, message);
    }
    attach({"Audio 32"});
    EXPECT_FALSE(fill({"--to", "wmv"}));
    EXPECT_EQ(error_, "the control offers no video profile");
}

TEST_F(ConvertSettingsTest, CustomMpegTakesASizeOffTheListAndClampsItsNumbers)
{
    ASSERT_TRUE(fill({"--to", "mpeg", "--size", "650x350", "--fps", "23.976", "--vbr", "150", "--audio-kbps", "128"}))
        << error_;
    EXPECT_EQ(settings_.format, OutputFormat::MpegCustom);
    EXPECT_EQ(settings_.width, 650);
    EXPECT_EQ(settings_.height, 350);
    EXPECT_EQ(settings_.mpegFrameRateIndex, 0);
    EXPECT_EQ(settings_.vbr, 1);
    EXPECT_EQ(settings_.vbrQuality, 100);
    EXPECT_EQ(settings_.audioBitRate, 128);

    ASSERT_TRUE(fill({"--to", "mpeg", "--video-kbps", "20000"})) << error_;
    EXPECT_EQ(settings_.vbr, 0);
    EXPECT_EQ(settings_.videoBitRate, 10000);
}

TEST_F(ConvertSettingsTest, CompressorsAreFoundByNameAndWmvTakesTheFirstVideoProfile)
{
    ASSERT_TRUE(fill({"--to", "avi", "--video-compressor", "DIVX", "--audio-compressor", "GSM", "--size", "300x200"}))
        << error_;
    EXPECT_EQ(settings_.videoCompressor, 1);
    EXPECT_EQ(settings_.audioCompressor, 2);
    EXPECT_EQ(settings_.width, 300);
    EXPECT_EQ(settings_.height, 200);
    ASSERT_TRUE(fill({"--to", "wmv"})) << error_;
    EXPECT_EQ(settings_.wmvProfile, 1);
    ASSERT_TRUE(fill({"--to", "wmv", "--profile", "2"})) << error_;
    EXPECT_EQ(settings_.wmvProfile, 2);
}

TEST_F(ConvertSettingsTest, Mp4TakesTheEditorsDefaultsAndTheGivenChoices)
{
    ASSERT_TRUE(fill({"--to", "mp4"})) << error_;
    ExpectMp4Defaults(settings_);

    ASSERT_TRUE(fill({"--to", "mp4", "--codec", "H265", "--speed", "smaller", "--height", "720", "--rate", "50",
                      "--audio-rate", "96", "--video-only", "--split", "30"}))
        << error_;
    EXPECT_EQ(settings_.videoCodec, 1);
    EXPECT_EQ(settings_.quality, 26);  // the codec's own default
    EXPECT_EQ(settings_.speed, 2);
    EXPECT_EQ(settings_.keepSourceSize, 0);
    EXPECT_EQ(settings_.height, 720);
    EXPECT_EQ(settings_.frameRate, 50.0f);
    EXPECT_EQ(settings_.audioBitRate, 96);
    EXPECT_EQ(settings_.videoOnly, 1);
    EXPECT_EQ(settings_.split, 1);

    ASSERT_TRUE(fill({"--to", "mp4", "--codec", "av1", "--quality", "63"})) << error_;
    EXPECT_EQ(settings_.quality, 63);
}

TEST_F(ConvertSettingsTest, Mp4RefusesValuesOffItsListsAndCodecsTheLibrariesLack)
{
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--to", "mp4", "--codec", "vp9"}, "--codec takes h264, h265 or av1"},
        {{"--to", "mp4", "--speed", "slow"}, "--speed takes faster, balanced or smaller"},
        {{"--to", "mp4", "--quality", "52"}, "the quality of H.264 goes from 1 to 51"},
        {{"--to", "mp4", "--quality", "0"}, "the quality of H.264 goes from 1 to 51"},
        {{"--to", "mp4", "--height", "576"}, "the height is one of 2160, 1080, 720, 480 or 360"},
        {{"--to", "mp4", "--rate", "29"}, "the frame rate is one of 24, 25, 30, 50 or 60"},
        {{"--to", "mp4", "--audio-rate", "320"}, "the sound bit rate goes from 96 to 256 kbit/s"},
        {{"--to", "mp4", "--fps", "25"}, "MP4 output takes --height, --rate and --audio-rate in place of the other kinds' options"},
        {{"--to", "avi", "--height", "720"},
         "--codec, --quality, --speed, --height, --rate, --audio-rate and --soft-subtitles are for MP4 output"},
        {{"--to", "dvd", "--soft-subtitles"},
         "--codec, --quality, --speed, --height, --rate, --audio-rate and --soft-subtitles are for MP4 output"}};
    for (const auto& [args, message] : refused) {
        EXPECT_FALSE(fill(args)) << message;
        EXPECT_EQ(error_, message);
    }
    attach({"Audio 32", "Video 56"}, {1});
    EXPECT_FALSE(fill({"--to", "mp4", "--codec", "av1"}));
    EXPECT_EQ(error_, "the media libraries have no AV1 encoder");
    ASSERT_TRUE(fill({"--to", "mp4"})) << error_;  // the first codec there is
    EXPECT_EQ(settings_.videoCodec, 1);
    EXPECT_EQ(settings_.quality, 26);
}

}  // namespace

// Numbers on the command line have a dot, whatever the user's locale.
TEST_F(ConvertSettingsTest, FrameRateReadsWithADotInACommaDecimalLocale)
{
    CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << comma.whyNot();
    ASSERT_TRUE(fill({"--to", "mpeg", "--fps", "29.97"})) << error_;
    EXPECT_EQ(settings_.mpegFrameRateIndex, 3);
    EXPECT_FALSE(fill({"--to", "mpeg", "--fps", "29,97"}));
}
