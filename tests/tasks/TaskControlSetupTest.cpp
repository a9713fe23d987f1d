// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "ScriptedControl.h"
#include "engine/CDudidEvar.h"
#include "tasks/TaskControlSetup.h"

namespace {

using Calls = std::vector<std::string>;

class TaskControlSetupTest : public ::testing::Test {
protected:
    TaskControlSetupTest()
    {
        auto owned = std::make_unique<ScriptedControl>();
        control = owned.get();
        control->script().durations = {{"/m/a.mpg", 150.0}, {"/m/b.avi", 20.0}, {"/m/c.wmv", 7.5}};
        control->script().sizes = {{"/m/a.mpg", {640, 360}}};
        wrapper.Attach(std::move(owned));
    }

    ConversionTask makeTask(OutputFormat format, std::vector<std::string> sources = {"/m/a.mpg"})
    {
        ConversionTask task;
        task.sources = std::move(sources);
        task.outputPath = "/out/a.avi";
        task.settings = std::make_unique<TaskSettings>();
        task.settings->format = format;
        task.settings->width = 352;
        task.settings->height = 240;
        return task;
    }

    CDudidEvar wrapper;
    ScriptedControl* control = nullptr;
    TaskControlSetup setup{wrapper};
};

// Each kind sets the size (the source's for WMV and a kept size), its own properties in order,
// then the track choices.
TEST_F(TaskControlSetupTest, EachKindSetsTheSizeAndItsOwnPropertiesInOrder)
{
    const struct {
        OutputFormat format;
        std::function<void(TaskSettings&)> set;
        Calls properties;
    } cases[] = {
        {OutputFormat::DvdPal, [](TaskSettings& s) { s.videoBitRate = 5000; s.audioBitRate = 224; },
         {"SetOutputWidth(352)", "SetOutputHeight(240)", "SetOutputFormat(4)", "SetVbr(0)", "SetVideoBitRate(5000)",
          "SetAudioBitRate(224)"}},
        {OutputFormat::MpegCustom, [](TaskSettings& s) { s.mpegFrameRateIndex = 3; s.vbr = 1; s.vbrQuality = 80; },
         {"SetOutputWidth(352)", "SetOutputHeight(240)", "SetOutputFormat(6)", "SetFrameRate(29.97)", "SetVbr(1)",
          "SetVbrQuality(80)"}},
        {OutputFormat::Avi,
         [](TaskSettings& s) {
             s.keepSourceSize = 1;
             s.frameRate = 24.0f;
             s.videoCompressor = 1;
             s.audioCompressor = 3;
         },
         {"SetOutputWidth(640)", "SetOutputHeight(360)", "SetOutputFormat(7)", "SetFrameRate(24)",
          "SetUseVideoCompressor(1)", "SetVideoCompressor(1)", "SetUseAudioCompressor(1)", "SetAudioCompressor(3)"}},
        {OutputFormat::Wmv, [](TaskSettings& s) { s.wmvProfile = 3; },
         {"SetOutputWidth(640)", "SetOutputHeight(360)", "SetOutputFormat(8)", "SetWmvProfile(3)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.format));
        ConversionTask task = makeTask(c.format);
        c.set(*task.settings);
        control->clearCalls();
        EXPECT_EQ(setup.setUp(task), 0.0);
        Calls expected{"GetVideoWidth(/m/a.mpg)", "GetVideoHeight(/m/a.mpg)"};
        expected.insert(expected.end(), c.properties.begin(), c.properties.end());
        expected.insert(expected.end(), {"SetSoundTrack()", "SetSubtitles()", "SetSoftSubtitles(0)"});
        EXPECT_EQ(control->calls(), expected);
        EXPECT_EQ(task.settings->keepSourceSize, c.format == OutputFormat::Wmv || c.format == OutputFormat::Avi ? 1 : 0);
    }
}

TEST_F(TaskControlSetupTest, Mp4AndTrackChoicesSetEveryPropertySoNoneIsLeftFromAnEarlierTask)
{
    ConversionTask task = makeTask(OutputFormat::Mp4);
    task.settings->width = 0;
    task.settings->height = 480;
    task.settings->videoCodec = 1;
    task.settings->quality = 28;
    task.settings->speed = 2;
    task.settings->audioBitRate = 192;
    task.soundTrack = "jpn";
    task.subtitles = "/m/a.srt";
    task.softSubtitles = true;
    setup.setUp(task);
    EXPECT_EQ(control->calls(),
              (Calls{"GetVideoWidth(/m/a.mpg)", "GetVideoHeight(/m/a.mpg)", "SetOutputWidth(0)", "SetOutputHeight(480)",
                     "SetOutputFormat(9)", "SetVideoCodec(1)", "SetQuality(28)", "SetSpeed(2)", "SetFrameRate(0)",
                     "SetAudioBitRate(192)", "SetSoundTrack(jpn)", "SetSubtitles(/m/a.srt)",
                     "SetSoftSubtitles(1)"}));
}

TEST_F(TaskControlSetupTest, WholeTaskJoinsEverySourceWithItsWholeLength)
{
    ConversionTask task = makeTask(OutputFormat::Avi, {"/m/a.mpg", "/m/b.avi", "/m/c.wmv"});
    task.settings->keepSourceSize = 1;
    setup.addWholeTaskClips(task);
    EXPECT_EQ(control->calls(),
              (Calls{"ClearClips()", "GetDuration(/m/a.mpg)", "AddVideoClip(/m/a.mpg, 0, 150, 1)", "AddAudioClip(/m/a.mpg, 0, 150)",
                     "GetDuration(/m/b.avi)", "AddVideoClip(/m/b.avi, 0, 20, 1)", "AddAudioClip(/m/b.avi, 0, 20)",
                     "GetDuration(/m/c.wmv)", "AddVideoClip(/m/c.wmv, 0, 7.5, 1)", "AddAudioClip(/m/c.wmv, 0, 7.5)"}));
}

TEST_F(TaskControlSetupTest, SplitPartEndingExactlyAtTheDurationIsWholeAndItsResultIsPassedOn)
{
    ConversionTask task = makeTask(OutputFormat::Avi);
    task.settings->split = 1;
    task.settings->splitSeconds = 60;
    task.settings->videoOnly = 1;
    EXPECT_EQ(setup.setUp(task), 150.0);  // the first source's duration
    EXPECT_EQ(control->calls().back(), "GetDuration(/m/a.mpg)");
    control->clearCalls();
    control->script().convertResult = false;
    EXPECT_FALSE(setup.convertSplitPart(task, 60, 120.0));
    EXPECT_EQ(control->calls(), (Calls{"ClearClips()", "AddVideoClip(/m/a.mpg, 60, 120, 0)", "Convert(/out/a_001.avi)"}));
}

}  // namespace
