#include <gtest/gtest.h>

#include <memory>

#include "ScriptedControl.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertSettings.h"
#include "engine/CDudidEvar.h"

namespace {

// marvane-cli convert's task record for a command line, on a control with a few compressors
// and profiles.
class ConvertSettingsTest : public ::testing::Test {
protected:
    ConvertSettingsTest() { attach({"Audio 32", "Video 56", "Video 768"}); }

    void attach(std::vector<std::string> wmvProfiles)
    {
        ScriptedControl::Script script;
        script.videoCompressors = {"Cinepak", "DivX 5", "Xvid", "divx pro"};
        script.audioCompressors = {"PCM", "MPEG Layer-3", "GSM"};
        script.wmvProfiles = std::move(wmvProfiles);
        control_.Attach(std::make_unique<ScriptedControl>(script));
    }

    // The record for the options before the source, or false with error_ set.
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

TEST_F(ConvertSettingsTest, DiscKindsTakeThePresetOfTheirStandard)
{
    ASSERT_TRUE(fill({"--to", "dvd", "--pal"})) << error_;
    EXPECT_EQ(settings_.format, OutputFormat::DvdPal);
    EXPECT_EQ(settings_.width, 720);
    EXPECT_EQ(settings_.height, 576);
    EXPECT_EQ(settings_.mpegFrameRateIndex, 2);
    EXPECT_EQ(settings_.videoBitRate, 5000);
    EXPECT_EQ(settings_.audioBitRate, 224);

    ASSERT_TRUE(fill({"--to", "vcd", "--audio-kbps", "128"})) << error_;
    EXPECT_EQ(settings_.format, OutputFormat::VcdNtsc);
    EXPECT_EQ(settings_.width, 352);
    EXPECT_EQ(settings_.height, 240);
    EXPECT_EQ(settings_.mpegFrameRateIndex, 3);
    EXPECT_EQ(settings_.videoBitRate, 1150);
    EXPECT_EQ(settings_.audioBitRate, 224);
}

TEST_F(ConvertSettingsTest, CustomMpegStartsFromTheDvdPictureOfTheStandard)
{
    ASSERT_TRUE(fill({"--to", "mpeg", "--pal"})) << error_;
    EXPECT_EQ(settings_.format, OutputFormat::MpegCustom);
    EXPECT_EQ(settings_.width, 720);
    EXPECT_EQ(settings_.height, 576);
    EXPECT_EQ(settings_.mpegFrameRateIndex, 2);
    EXPECT_EQ(settings_.videoBitRate, 2000);

    ASSERT_TRUE(fill({"--to", "mpeg", "--size", "650x350", "--fps", "23.976", "--vbr", "150", "--audio-kbps", "128"}))
        << error_;
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

TEST_F(ConvertSettingsTest, MpegOptionsThatDoNotFitTheKindAreRefused)
{
    EXPECT_FALSE(fill({"--to", "svcd", "--vbr", "80"}));
    EXPECT_EQ(error_, "VCD and SVCD have a fixed bit rate");
    EXPECT_FALSE(fill({"--to", "dvd", "--size", "640x480"}));
    EXPECT_EQ(error_, "the disc formats have a fixed size and frame rate");
    EXPECT_FALSE(fill({"--to", "mpeg", "--original-size"}));
    EXPECT_EQ(error_, "MPEG output does not keep the source size");
    EXPECT_FALSE(fill({"--to", "mpeg", "--fps", "15"}));
    EXPECT_EQ(error_, "MPEG frame rates are 23.976, 24, 25, 29.97 and 30");
}

TEST_F(ConvertSettingsTest, AviDefaultsAndTheUsersChoices)
{
    ASSERT_TRUE(fill({"--to", "avi"})) << error_;
    EXPECT_EQ(settings_.format, OutputFormat::Avi);
    EXPECT_EQ(settings_.width, 352);
    EXPECT_EQ(settings_.height, 240);
    EXPECT_FLOAT_EQ(settings_.frameRate, 24.0f);
    EXPECT_EQ(settings_.videoCompressor, 3);
    EXPECT_EQ(settings_.audioCompressor, 1);

    ASSERT_TRUE(fill({"--to", "avi", "--video-compressor", "DIVX", "--audio-compressor", "GSM", "--size", "300x200",
                      "--fps", "29.97", "--video-only"}))
        << error_;
    EXPECT_EQ(settings_.videoCompressor, 1);
    EXPECT_EQ(settings_.audioCompressor, 2);
    EXPECT_EQ(settings_.width, 300);
    EXPECT_EQ(settings_.height, 200);
    EXPECT_FLOAT_EQ(settings_.frameRate, 29.97f);
    EXPECT_EQ(settings_.videoOnly, 1);

    ASSERT_TRUE(fill({"--to", "avi", "--original-size"})) << error_;
    EXPECT_EQ(settings_.keepSourceSize, 1);

    EXPECT_FALSE(fill({"--to", "avi", "--video-compressor", "h264"}));
    EXPECT_EQ(error_, "no video compressor named h264");
}

TEST_F(ConvertSettingsTest, WmvProfileIsTheFirstVideoProfileOrTheControlsIndexGiven)
{
    ASSERT_TRUE(fill({"--to", "wmv"})) << error_;
    EXPECT_EQ(settings_.format, OutputFormat::Wmv);
    EXPECT_EQ(settings_.wmvProfile, 1);
    ASSERT_TRUE(fill({"--to", "wmv", "--profile", "2"})) << error_;
    EXPECT_EQ(settings_.wmvProfile, 2);
    EXPECT_FALSE(fill({"--to", "wmv", "--profile", "0"}));
    EXPECT_EQ(error_, "no video profile 0");
    EXPECT_FALSE(fill({"--to", "wmv", "--profile", "3"}));
    EXPECT_EQ(error_, "no video profile 3");

    attach({"Audio 32"});
    EXPECT_FALSE(fill({"--to", "wmv"}));
    EXPECT_EQ(error_, "the control offers no video profile");
}

}  // namespace
