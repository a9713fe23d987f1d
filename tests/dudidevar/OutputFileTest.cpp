#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "RunRecorder.h"
#include "TestMedia.h"
#include "dudidevar/DudidEvarControl.h"

namespace {

class OutputFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetEventSink(&events);
        control.SetOutputFormat(7);
        control.SetFrameRate(25);
        control.SetUseVideoCompressor(true);
        control.SetVideoCompressor(2);
        control.SetUseAudioCompressor(true);
        control.SetAudioCompressor(0);
    }

    void addWhole(const std::string& source)
    {
        const double duration = control.GetDuration(source);
        control.AddVideoClip(source, 0, duration, 1);
        control.AddAudioClip(source, 0, duration);
    }

    bool convert(const std::string& out)
    {
        if (!control.Convert(out) || !events.waitForEnd())
            return false;
        return events.done == 1;
    }

    static mode_t modeOf(const std::string& path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    }

    DudidEvarControl control;
    RunRecorder events;
};

TEST_F(OutputFileTest, ProgramStreamWhoseLastPicturesHaveNoTimeConvertsWhole)
{
    const std::string source = TestMedia::mpeg2ProgramStream();
    addWhole(source);
    const std::string out = TestMedia::scratchFolder() + "program.avi";
    ASSERT_TRUE(convert(out)) << events.reason;
    const TestMedia::Info info = TestMedia::probe(out);
    ASSERT_TRUE(info.video() && info.audio());
    EXPECT_NEAR(info.video()->frames / 25.0, control.GetDuration(source), 1.0 / 25 + 1e-6);
    EXPECT_EQ(info.video()->width, 640);
}

TEST_F(OutputFileTest, FinishedFileGetsOrdinaryPermissionsAndAReplacedOneKeepsItsOwn)
{
    addWhole(TestMedia::withSound());
    const std::string folder = TestMedia::scratchFolder();
    const mode_t previousMask = ::umask(022);
    const bool fresh = convert(folder + "fresh.avi");
    events = {};
    const std::string replaced = folder + "replaced.avi";
    std::ofstream(replaced) << "old";
    ::chmod(replaced.c_str(), 0640);
    const bool overwritten = convert(replaced);
    ::umask(previousMask);

    ASSERT_TRUE(fresh);
    ASSERT_TRUE(overwritten) << events.reason;
    EXPECT_EQ(modeOf(folder + "fresh.avi"), mode_t(0644));
    EXPECT_EQ(modeOf(replaced), mode_t(0640));
}

TEST_F(OutputFileTest, LinkedTargetIsWrittenThroughAndAFolderTargetRefusedBeforeTheRun)
{
    addWhole(TestMedia::withSound());
    const std::string folder = TestMedia::scratchFolder();
    std::ofstream(folder + "real.avi") << "old";
    ASSERT_EQ(::symlink("real.avi", (folder + "link.avi").c_str()), 0);
    ASSERT_TRUE(convert(folder + "link.avi")) << events.reason;
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
