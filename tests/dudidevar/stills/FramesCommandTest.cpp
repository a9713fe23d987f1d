// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FrameTestMedia.h"

namespace {

// marvane-cli frames, run as a user runs it, on a 6 s video of 10 frames a second.
class FramesCommandTest : public ::testing::Test {
protected:
    int frames(QStringList arguments)
    {
        QProcess cli;
        cli.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli", QStringList{"frames"} + arguments);
        if (!cli.waitForFinished(60000))
            return -1;
        errors_ = cli.readAllStandardError();
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    QStringList written() const { return QDir(out_.path()).entryList({"*.bmp"}, QDir::Files, QDir::Name); }
    int frameIn(int n) const { return FrameTestMedia::frameNumberOf(QImage(out_.filePath(QString("grey-10-6_%1.bmp").arg(n)))); }

    const QString source = QString::fromStdString(FrameTestMedia::greyVideo(10, 6));
    QTemporaryDir out_;
    QByteArray errors_;
};

// A range at a rate at the source's own size is the picture tool's end-to-end test; here the
// command's own options. 0.9 s at 3 per second: pictures at 0, 0.333… and 0.666….
TEST_F(FramesCommandTest, RangeAndRateGivePicturesEvenlyApartAtTheGivenSize)
{
    ASSERT_EQ(frames({"--to", "0.9", "--per-second", "3", "--size", "352x240", "-o", out_.path(), source}), 0)
        << errors_.data();
    EXPECT_EQ(written().size(), 3);
    EXPECT_EQ(frameIn(3), 6);
    EXPECT_EQ(QImage(out_.filePath("grey-10-6_3.bmp")).size(), QSize(352, 240));
}

TEST_F(FramesCommandTest, AWholeFileGivesItsSecondsTimesTheRateAndNoneFails)
{
    for (int rate : {5, 6, 9, 25}) {
        QTemporaryDir run;
        ASSERT_EQ(frames({"--per-second", QString::number(rate), "-o", run.path(), source}), 0)
            << rate << ": " << errors_.data();
        EXPECT_EQ(QDir(run.path()).entryList({"*.bmp"}).size(), 6 * rate);
    }
}

TEST_F(FramesCommandTest, InvalidRangeTakesTheWholeFileAndTheRateIsClamped)
{
    ASSERT_EQ(frames({"--from", "5", "--to", "2", "--per-second", "0", "-o", out_.path(), source}), 0);
    EXPECT_EQ(written().size(), 6);  // 6 s at 1 per second
    EXPECT_EQ(frameIn(6), 50);
    EXPECT_TRUE(errors_.contains("between 1 and 25"));

    QTemporaryDir fast;
    ASSERT_EQ(frames({"--from", "2", "--to", "3", "--per-second", "30", "-o", fast.path(), source}), 0);
    EXPECT_EQ(QDir(fast.path()).entryList({"*.bmp"}).size(), 25);
}

TEST_F(FramesCommandTest, MistakesAndUnreadableSourcesWriteNothing)
{
    EXPECT_EQ(frames({source}), 2);
    EXPECT_EQ(frames({"--size", "0x10", "-o", out_.path(), source}), 2);
    EXPECT_EQ(frames({"--per-second", "many", "-o", out_.path(), source}), 2);
    EXPECT_EQ(frames({"-o", out_.filePath("missing"), source}), 1);
    EXPECT_EQ(frames({"-o", out_.path(), source + ".missing.avi"}), 1);
    EXPECT_TRUE(written().isEmpty());
}

}  // namespace
