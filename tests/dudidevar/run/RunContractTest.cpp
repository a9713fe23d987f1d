// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <fstream>

#include "ControlTest.h"
#include "dudidevar/run/ConversionJob.h"

namespace {

class RunContractTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(5);
    }

    // A file in the folder that a run would replace.
    std::string existing(const std::string& name)
    {
        std::ofstream(folder + name) << "old";
        return folder + name;
    }
};

TEST_F(RunContractTest, StopMidRunRaisesNoMoreEventsAndKeepsAnExistingTarget)
{
    const std::string target = existing("existing.mpg");
    control.AddVideoClip(TestMedia::longer(), 0, 12, 0);
    control.AddAudioClip(TestMedia::longer(), 0, 12);
    ASSERT_TRUE(control.Convert(target));
    ASSERT_TRUE(events.waitForProgress());
    control.Stop();
    EXPECT_NEAR(events.lastTotal, 12.0, 0.001);
    events = {};
    RunRecorder::pump(300);
    EXPECT_EQ(events.done + events.failed + events.progress, 0);
    EXPECT_TRUE(TestMedia::contentOf(target) == "old");
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"existing.mpg"});
    control.Stop();  // nothing runs: harmless
}

// The stop comes after the last frame, while the file is being finished: the renaming onto
// the target must not happen then.
TEST_F(RunContractTest, StopWhileTheOutputIsBeingFinishedKeepsTheTarget)
{
    const std::string target = existing("existing.avi");
    ConversionJob job;
    ControlProperties properties;
    properties.outputFormat = 7;
    const std::string source = TestMedia::withSound();
    std::string error;
    ASSERT_TRUE(job.prepare({{{source, 0, 2, false}}, {{source, 0, 2, false}}, false, target,
                             [&](const SourceShape& shape, OutputPlan* plan, std::string* why) {
                                 return OutputPlanner::planConversion(properties, shape, false, true, true, plan, why);
                             }},
                            &error))
        << error;
    std::atomic<bool> stop{false};
    RunProgress progress(stop, [&](double done, double total) {
        if (done >= total)
            stop = true;
    });
    EXPECT_FALSE(job.run(progress).ok);
    EXPECT_TRUE(stop);
    EXPECT_TRUE(TestMedia::contentOf(target) == "old");
    EXPECT_EQ(TestMedia::filesIn(folder), std::vector<std::string>{"existing.avi"});
}

TEST_F(RunContractTest, DestroyingTheControlStopsItsRun)
{
    {
        DudidEvarControl other;
        other.SetEventSink(&events);
        other.AddVideoClip(TestMedia::longer(), 0, 12, 0);
        ASSERT_TRUE(other.Convert(folder + "gone.avi"));
        ASSERT_TRUE(events.waitForProgress());
    }
    events = {};
    RunRecorder::pump(200);
    EXPECT_EQ(events.done + events.failed, 0);
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

TEST_F(RunContractTest, TargetThatIsASourceOrCannotBeWrittenIsRefused)
{
    EXPECT_FALSE(control.Convert(folder + "nothing.mpg"));  // empty clip list
    const std::string source = TestMedia::fileWith("copy-of-sound.avi", TestMedia::contentOf(TestMedia::withSound()));
    const std::string before = TestMedia::contentOf(source);
    control.AddVideoClip(source, 0, 2, 0);
    EXPECT_FALSE(control.Convert(source));
    EXPECT_FALSE(control.Convert(TestMedia::folder() + "./copy-of-sound.avi"));
    EXPECT_TRUE(TestMedia::contentOf(source) == before);
    EXPECT_FALSE(control.Convert(folder + "no/such/folder/out.mpg"));
    EXPECT_FALSE(control.Convert(""));
    RunRecorder::pump(50);
    EXPECT_EQ(events.done + events.failed, 0);
}

TEST_F(RunContractTest, HostileInputsAreRefusedOrFailCleanly)
{
    const std::vector<std::string> inputs = {
        TestMedia::fileWith("empty.avi", ""),
        TestMedia::fileWith("random.avi", std::string(4096, '\x5a') + "\x01\xff\x10\x80garbage"),
        TestMedia::fileWith("text.avi", "This is not a video at all.\n"),
        TestMedia::truncated(),
        TestMedia::folder(),
        TestMedia::folder() + "missing.avi",
    };
    for (const std::string& input : inputs) {
        if (input != TestMedia::truncated()) {
            EXPECT_EQ(control.GetVideoWidth(input), 0) << input;
            EXPECT_EQ(control.GetVideoHeight(input), 0) << input;
            EXPECT_EQ(control.GetDuration(input), 0.0) << input;
        }
        control.ClearClips();
        control.AddVideoClip(input, 0, 2.0, 0);
        control.AddAudioClip(input, 0, 2.0);
        events = {};
        if (control.Convert(folder + "hostile.avi")) {
            ASSERT_TRUE(events.waitForEnd()) << input;
            EXPECT_EQ(events.failed, 1) << input;
            EXPECT_EQ(events.done, 0) << input;
        }
        EXPECT_TRUE(TestMedia::filesIn(folder).empty()) << input;
    }
}

}  // namespace
