#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "FrameTestMedia.h"

namespace {

// The built programs lie beside the test programs unless the environment names their folder.
QString binFolder()
{
    const QString named = qEnvironmentVariable("MARVANE_TEST_BIN");
    return named.isEmpty() ? QCoreApplication::applicationDirPath() : named;
}

// marvane-cli frames, run as a user runs it, on a 6 s video of 10 frames a second.
class FramesCommandTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        media_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(media_->isValid());
        ASSERT_TRUE(FrameTestMedia::makeGreyVideo(media_->filePath("grey.avi"), 10, 6.0));
    }
    static void TearDownTestSuite() { media_.reset(); }

    int frames(QStringList arguments)
    {
        QProcess cli;
        cli.start(QDir(binFolder()).filePath("marvane-cli"),
                  QStringList{"frames"} + arguments);
        if (!cli.waitForFinished(60000))
            return -1;
        errors_ = cli.readAllStandardError();
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    QStringList written() const { return QDir(out_.path()).entryList({"*.bmp"}, QDir::Files, QDir::Name); }
    int frameIn(int n) const
    {
        return FrameTestMedia::frameNumberOf(QImage(out_.filePath(QString("grey_%1.bmp").arg(n))));
    }
    QString source() const { return media_->filePath("grey.avi"); }

    static std::unique_ptr<QTemporaryDir> media_;
    QTemporaryDir out_;
    QByteArray errors_;
};

std::unique_ptr<QTemporaryDir> FramesCommandTest::media_;

TEST_F(FramesCommandTest, TwoSecondsAtTwoPerSecondGiveFourPicturesHalfASecondApart)
{
    ASSERT_EQ(frames({"--from", "1", "--to", "3", "--per-second", "2", "-o", out_.path(), source()}), 0) << errors_.data();
    EXPECT_EQ(written(), (QStringList{"grey_1.bmp", "grey_2.bmp", "grey_3.bmp", "grey_4.bmp"}));
    EXPECT_EQ(frameIn(1), 10);
    EXPECT_EQ(frameIn(2), 15);
    EXPECT_EQ(frameIn(3), 20);
    EXPECT_EQ(frameIn(4), 25);
    EXPECT_EQ(QImage(out_.filePath("grey_1.bmp")).size(), QSize(64, 48));
}

TEST_F(FramesCommandTest, SizedPicturesAndTheCountOfAShortRange)
{
    // 0.9 s at 3 per second: pictures at 0, 0.333… and 0.666….
    ASSERT_EQ(frames({"--to", "0.9", "--per-second", "3", "--size", "352x240", "-o", out_.path(), source()}), 0);
    EXPECT_EQ(written().size(), 3);
    EXPECT_EQ(frameIn(2), 3);
    EXPECT_EQ(frameIn(3), 6);
    EXPECT_EQ(QImage(out_.filePath("grey_3.bmp")).size(), QSize(352, 240));
}

TEST_F(FramesCommandTest, InvalidRangeTakesTheWholeFileAndTheRateIsClamped)
{
    ASSERT_EQ(frames({"--from", "5", "--to", "2", "--per-second", "0", "-o", out_.path(), source()}), 0);
    EXPECT_EQ(written().size(), 6);  // 6 s at 1 per second
    EXPECT_EQ(frameIn(6), 50);
    EXPECT_TRUE(errors_.contains("between 1 and 25"));

    QTemporaryDir fast;
    ASSERT_EQ(frames({"--from", "2", "--to", "3", "--per-second", "30", "-o", fast.path(), source()}), 0);
    EXPECT_EQ(QDir(fast.path()).entryList({"*.bmp"}).size(), 25);
}

TEST_F(FramesCommandTest, MistakesAndUnreadableSourcesWriteNothing)
{
    EXPECT_EQ(frames({source()}), 2);
    EXPECT_EQ(frames({"--size", "0x10", "-o", out_.path(), source()}), 2);
    EXPECT_EQ(frames({"--per-second", "many", "-o", out_.path(), source()}), 2);
    EXPECT_EQ(frames({"-o", out_.filePath("missing"), source()}), 1);
    EXPECT_EQ(frames({"-o", out_.path(), media_->filePath("missing.avi")}), 1);
    EXPECT_TRUE(written().isEmpty());
}

}  // namespace
