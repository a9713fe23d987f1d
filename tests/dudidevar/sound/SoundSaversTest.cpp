// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <chrono>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "ControlTest.h"
#include "dudidevar/plan/OutputPlanner.h"
#include "dudidevar/run/OutputWriter.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace {

class SoundSaversTest : public ControlTest {
protected:
    void addSound(const std::string& source) { control.AddAudioClip(source, 0, control.GetDuration(source)); }
};

TEST_F(SoundSaversTest, WavHasTheAskedChannelsRateAndSampleSizeAndImpossibleShapesAreRefused)
{
    addSound(TestMedia::withSound());
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "a.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;  // read back in the audio tool's end-to-end test

    events = {};
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "m.wav", 1, 22050, 1));
    ASSERT_TRUE(finished());
    const TestMedia::Info mono = TestMedia::probe(folder + "m.wav");
    ASSERT_TRUE(mono.audio());
    EXPECT_EQ(mono.audio()->codec, "pcm_u8");
    EXPECT_EQ(mono.audio()->channels, 1);
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "x.wav", 0, 11025, 2));
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "x.wav", 2, 11025, 7));
    EXPECT_EQ(TestMedia::filesIn(folder), (std::vector<std::string>{"a.wav", "m.wav"}));
}

TEST_F(SoundSaversTest, WmaIsWindowsMediaAudio2AndJoinsTwoSources)
{
    addSound(TestMedia::withSound());
    addSound(TestMedia::mpegWithMonoSound());
    // Each source gives its sound's own length.
    const double total = TestMedia::soundSeconds(TestMedia::withSound()) + TestMedia::soundSeconds(TestMedia::mpegWithMonoSound());
    ASSERT_TRUE(control.SaveAudioAsWma(folder + "j.wma"));
    ASSERT_TRUE(finished()) << events.reason;
    const TestMedia::Info info = TestMedia::probe(folder + "j.wma");
    ASSERT_TRUE(info.audio());
    EXPECT_FALSE(info.video());
    EXPECT_EQ(info.format, "asf");
    EXPECT_EQ(info.audio()->codec, "wmav2");
    EXPECT_EQ(info.audio()->channels, 2);
    EXPECT_EQ(info.audio()->sampleRate, 44100);
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "j.wma"), total, 0.05);
}

// Its ordinary header describes at most 4 GiB; a longer file needs the large-file form.
TEST_F(SoundSaversTest, WavThatMayPass4GiBGetsTheLargeFileFormAndStaysReadableWhenSmall)
{
    OutputPlan plan;
    std::string error;
    ASSERT_TRUE(OutputPlanner::planWav(2, 44100, 2, &plan, &error));
    EXPECT_FALSE(OutputPlanner::wavMayPass4GiB(plan.sound, 3600));
    EXPECT_TRUE(OutputPlanner::wavMayPass4GiB(plan.sound, 4 * 3600));
    ASSERT_TRUE(OutputPlanner::planWav(2, 11025, 2, &plan, &error));
    EXPECT_FALSE(OutputPlanner::wavMayPass4GiB(plan.sound, 12 * 3600));
    EXPECT_TRUE(OutputPlanner::wavMayPass4GiB(plan.sound, 20 * 3600));
    ASSERT_TRUE(OutputPlanner::planWav(8, 192000, 4, &plan, &error));
    EXPECT_TRUE(OutputPlanner::wavMayPass4GiB(plan.sound, 600));

    plan.largeWav = true;
    OutputWriter writer;
    ASSERT_TRUE(writer.open(plan, folder + "large.wav", &error)) << error;
    ff::Frame frame = ff::makeFrame();
    frame->nb_samples = 19200;
    frame->format = writer.sound().context()->sample_fmt;
    frame->sample_rate = 192000;
    av_channel_layout_copy(&frame->ch_layout, &writer.sound().context()->ch_layout);
    ASSERT_GE(av_frame_get_buffer(frame.get(), 0), 0);
    av_samples_set_silence(frame->data, 0, frame->nb_samples, 8, AVSampleFormat(frame->format));
    frame->pts = 0;
    ASSERT_TRUE(writer.write(writer.sound(), frame.get(), &error)) << error;
    ASSERT_TRUE(writer.finish(&error)) << error;
    EXPECT_NEAR(TestMedia::soundSeconds(folder + "large.wav"), 0.1, 0.001);
}

TEST_F(SoundSaversTest, SourceWithoutSoundIsRefusedAndAStoppedSaveLeavesNothing)
{
    addSound(TestMedia::silentOddSize());
    EXPECT_FALSE(control.SaveAudioAsWma(folder + "s.wma"));
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "s.wav", 2, 11025, 2));
    control.ClearClips();
    EXPECT_FALSE(control.SaveAudioAsWav(folder + "e.wav", 2, 11025, 2));

    for (int i = 0; i < 8; ++i)
        addSound(TestMedia::longer());
    ASSERT_TRUE(control.SaveAudioAsWma(folder + "long.wma"));
    control.Stop();
    events = {};
    RunRecorder::pump(200);
    EXPECT_EQ(events.done + events.failed + events.progress, 0);
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

// A stop that comes while the sound of a clip late in a long file is decoded forward to the
// clip's start (an AVI without its index cannot be searched, so the sound is read from the file's
// start) ends the run at once, as a stopped run: no event, no reason for GetLastError, and
// neither the output nor its temporary file left in the folder.
TEST_F(SoundSaversTest, AStopEndsALongForwardDecodeOfSound)
{
    const std::string tone = TestMedia::made(
        "tone-10s.mp2", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=10", "-c:a", "mp2"});
    std::string bytes = TestMedia::contentOf(TestMedia::made("tone-20min.avi", {"-stream_loop", "119", "-i", tone, "-c", "copy"}));
    bytes.replace(bytes.rfind("idx1"), 4, "JUNK");
    const std::string source = TestMedia::fileWith("tone-20min-unindexed.avi", bytes);
    const double length = control.GetDuration(source);
    ASSERT_NEAR(length, 1200.0, 1.0);
    control.AddAudioClip(source, length - 1.0, length);
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "end.wav", 2, 11025, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well into the forward decode
    const auto stopping = std::chrono::steady_clock::now();
    control.Stop();
    const auto took = std::chrono::steady_clock::now() - stopping;
    EXPECT_LT(took, std::chrono::milliseconds(200));
    events = {};
    RunRecorder::pump(200);
    EXPECT_EQ(events.done + events.failed, 0);
    EXPECT_EQ(control.GetLastError(), "");
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

// The sound of sources saved one after another, as the audio tool saves them, is one run: it
// reads the folder for killed runs' leftovers once, and one left meanwhile waits for the next run.
TEST_F(SoundSaversTest, SavesOneAfterAnotherReadTheirFolderOnce)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString leftover = QString::fromStdString(folder + ".a.wav.part-" + std::to_string(child) + "-a1B2c3");
    addSound(TestMedia::withSound());
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "a.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    ASSERT_TRUE(QFile(leftover).open(QIODevice::WriteOnly));
    events = {};
    ASSERT_TRUE(control.SaveAudioAsWav(folder + "b.wav", 2, 11025, 2));
    ASSERT_TRUE(finished()) << events.reason;
    EXPECT_TRUE(QFile::exists(leftover));
}

}  // namespace
