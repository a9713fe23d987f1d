// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "ControlTest.h"

namespace {

class FailureReasonTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(5);
    }

    // The reason of a run that is refused at once, or that fails after it began.
    std::string reasonOfConversion(const std::string& target)
    {
        if (!control.Convert(target))
            return control.GetLastError();
        EXPECT_TRUE(events.waitForEnd());
        EXPECT_EQ(events.done, 0);
        EXPECT_EQ(events.reason, control.GetLastError());
        return control.GetLastError();
    }
};

}  // namespace

TEST_F(FailureReasonTest, UnreadableSourcesAreNamedWithWhatIsWrong)
{
    addWhole(folder + "missing.avi");
    // A refused clip is answered at once, so the caller can name the source it lacks.
    EXPECT_EQ(control.GetLastError(), "cannot open " + folder + "missing.avi: No such file or directory");
    EXPECT_EQ(reasonOfConversion(folder + "out.mpg"),
              "cannot open " + folder + "missing.avi: No such file or directory");

    control.ClearClips();
    const std::string noise = TestMedia::fileWith("noise.avi", std::string(8192, '\x33'));
    addWhole(noise);
    EXPECT_EQ(reasonOfConversion(folder + "out.mpg"), noise + " is damaged or not a video file");

    control.ClearClips();
    addWhole(folder);
    EXPECT_EQ(reasonOfConversion(folder + "out.mpg").find("is a folder"), folder.size() + 1);

    // A run that starts clears the last reason.
    control.ClearClips();
    addWhole(TestMedia::withSound());
    ASSERT_TRUE(control.Convert(folder + "out.mpg"));
    EXPECT_EQ(control.GetLastError(), "");
    EXPECT_TRUE(finished());
    EXPECT_EQ(control.GetLastError(), "");
}

TEST_F(FailureReasonTest, SoundOnlyFileHasNoPicture)
{
    const std::string sound = folder + "sound.wav";
    ASSERT_TRUE(control.SaveAudioAsWav(sound, 2, 44100, 2) == false);  // nothing to save yet
    addWhole(TestMedia::withSound());
    ASSERT_TRUE(control.SaveAudioAsWav(sound, 2, 44100, 2));
    ASSERT_TRUE(finished());
    events = {};
    control.ClearClips();
    addWhole(sound);
    EXPECT_EQ(reasonOfConversion(folder + "out.mpg"), sound + " has no picture");
    EXPECT_TRUE(TestMedia::filesIn(folder) == std::vector<std::string>{"sound.wav"});
}

// A file-size limit stands for a full disk: writes past it fail as they would on a full one.
TEST_F(FailureReasonTest, OutputThatCannotBeWrittenOutIsNamedAndLeavesNothing)
{
    addWhole(TestMedia::longer());
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string reason = reasonOfConversion(folder + "big.mpg");
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(reason, folder + "big.mpg grows beyond the largest file the disk can hold");
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}
