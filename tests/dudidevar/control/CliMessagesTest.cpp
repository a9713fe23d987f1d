// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "TestMedia.h"

namespace {

// marvane-cli as a user runs it: what it says on standard error, and how it ends.
class CliMessagesTest : public ::testing::Test {
protected:
    int cli(const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(folder));
        process.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli", arguments);
        if (!process.waitForFinished(60000))
            return -1;
        errors = process.readAllStandardError().toStdString();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    std::string folder = TestMedia::scratchFolder();
    std::string errors;
};

}  // namespace

TEST_F(CliMessagesTest, FailureReasonGoesToStandardErrorWithoutTheLibrariesChatter)
{
    // An MP4 cut off before its index: the libraries say "moov atom not found".
    const std::string whole = TestMedia::made(
        "index-at-end.mp4", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-c:v", "mpeg4"});
    const std::string bytes = TestMedia::contentOf(whole);
    const std::string cut = TestMedia::fileWith("no-index.mp4", bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(cli({"convert", "--to", "avi", "-o", QString::fromStdString(folder + "out.avi"),
                   QString::fromStdString(cut)}),
              1);
    EXPECT_NE(errors.find(cut + " is damaged or not a video file"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("moov atom"), std::string::npos) << errors;

    EXPECT_EQ(cli({"probe", "--verbose", QString::fromStdString(cut)}), 1);
    EXPECT_NE(errors.find("moov atom"), std::string::npos) << errors;
}

TEST_F(CliMessagesTest, DoubleDashEndsTheOptionsSoAFileMayStartWithADash)
{
    ASSERT_TRUE(QFile::copy(QString::fromStdString(TestMedia::withSound()), QString::fromStdString(folder + "-clip.avi")));
    EXPECT_EQ(cli({"convert", "--to", "avi", "-o", "out.avi", "--", "-clip.avi"}), 0) << errors;
    EXPECT_EQ(cli({"probe", "--", "-clip.avi"}), 0) << errors;
    EXPECT_EQ(cli({"convert", "--to", "avi", "-o", "out2.avi", "-clip.avi"}), 2);
}

TEST_F(CliMessagesTest, PicturesPastTheEndOfTheVideoSaySo)
{
    const std::string shortPicture = TestMedia::made(
        "short-picture.mkv", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1.5", "-f", "lavfi", "-i",
                              "sine=frequency=440:sample_rate=44100:duration=3", "-c:v", "mpeg4", "-c:a", "flac"});
    EXPECT_EQ(cli({"frames", "--per-second", "1", "-o", QString::fromStdString(folder),
                   QString::fromStdString(shortPicture)}),
              1);
    EXPECT_NE(errors.find("there is no picture at 2.0 s: the video ends at 1.5 s"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("could not be written"), std::string::npos) << errors;
}
