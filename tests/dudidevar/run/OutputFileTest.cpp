// SPDX-License-Identifier: GPL-3.0-or-later
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "ControlTest.h"

namespace {

class OutputFileTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(7);
        control.SetFrameRate(25);
        control.SetUseVideoCompressor(true);
        control.SetVideoCompressor(2);
        control.SetUseAudioCompressor(true);
        control.SetAudioCompressor(0);
    }

    static mode_t modeOf(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    }
};

TEST_F(OutputFileTest, ProgramStreamWhoseLastPicturesHaveNoTimeConvertsWhole)
{
    const std::string source = TestMedia::mpeg2ProgramStream();
    addWhole(source, 1);
    const TestMedia::Info info = TestMedia::probe(convert("program.avi"));
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_NEAR(info.video()->frames / 25.0, control.GetDuration(source), 1.0 / 25 + 1e-6);
    EXPECT_EQ(info.video()->width, 640);
}

TEST_F(OutputFileTest, FinishedFileGetsOrdinaryPermissionsAndAReplacedOneKeepsItsOwn)
{
    addWhole(TestMedia::withSound(), 1);
    const mode_t previousMask = ::umask(022);
    convert("fresh.avi");
    const std::string replaced = folder + "replaced.avi";
    std::ofstream(replaced) << "old";
    ::chmod(replaced.c_str(), 0640);
    convert("replaced.avi");
    ::umask(previousMask);

    EXPECT_EQ(modeOf(folder + "fresh.avi"), mode_t(0644));
    EXPECT_EQ(modeOf(replaced), mode_t(0640));
}

TEST_F(OutputFileTest, LinkedTargetIsWrittenThroughAndAFolderTargetRefusedBeforeTheRun)
{
    addWhole(TestMedia::withSound(), 1);
    std::ofstream(folder + "real.avi") << "old";
    ASSERT_EQ(::symlink("real.avi", (folder + "link.avi").c_str()), 0);
    convert("link.avi");
    struct stat link {};
    ASSERT_EQ(::lstat((folder + "link.avi").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(TestMedia::probe(folder + "real.avi").video()->width, 160);

    ASSERT_EQ(::mkdir((folder + "sub.avi").c_str(), 0755), 0);
    events = {};
    EXPECT_FALSE(control.Convert(folder + "sub.avi"));
    RunRecorder::pump(50);
    EXPECT_EQ(events.done + events.failed + events.progress, 0);
    EXPECT_EQ(TestMedia::filesIn(folder), (std::vector<std::string>{"link.avi", "real.avi"}));
}

}  // namespace
