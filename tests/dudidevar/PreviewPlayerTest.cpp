#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <set>

#include "FrameTestMedia.h"
#include "RunRecorder.h"
#include "dudidevar/PreviewPlayer.h"
#include "dudidevar/PreviewSurface.h"

namespace {

// Counts a player's finished() signals.
struct FinishCount {
    explicit FinishCount(PreviewPlayer& player)
    {
        QObject::connect(&player, &PreviewPlayer::finished, [this] { ++count; });
    }
    // Runs the event loop until a finish arrives or the time is up.
    bool wait(int milliseconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (count == 0 && clock.elapsed() < milliseconds)
            RunRecorder::pump(5);
        return count > 0;
    }
    int count = 0;
};

class PreviewPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        ASSERT_TRUE(FrameTestMedia::makeGreyVideo(folder_->filePath("grey.avi"), 10, 1.0));
        ASSERT_TRUE(FrameTestMedia::makeVideoWithSound(folder_->filePath("tone.avi"), 1.0));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string path(const char* name) { return folder_->filePath(name).toStdString(); }
    static Clip clip(const char* name, double start, double end) { return Clip{path(name), start, end, false}; }

    void SetUp() override
    {
        surface_.resize(249, 175);
        surface_.show();
    }

    static std::unique_ptr<QTemporaryDir> folder_;
    PreviewSurface surface_;
};

std::unique_ptr<QTemporaryDir> PreviewPlayerTest::folder_;

TEST_F(PreviewPlayerTest, ClipListPlaysInRealTimeToItsEndOnce)
{
    PreviewPlayer player(&surface_, PreviewPlayer::Sound::Silent);
    FinishCount finished(player);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.start({clip("grey.avi", 0.0, 1.0), clip("tone.avi", 0.2, 0.7)}, {clip("tone.avi", 0.0, 1.5)}));
    EXPECT_DOUBLE_EQ(player.totalSeconds(), 1.5);

    // The grey video's frames follow the clock: frame n is due at n / 10 s.
    std::set<int> seen;
    while (clock.elapsed() < 900) {
        RunRecorder::pump(15);
        const int frame = FrameTestMedia::frameNumberOf(surface_.picture());
        if (frame < 0)
            continue;
        seen.insert(frame);
        EXPECT_NEAR(frame / 10.0, clock.elapsed() / 1000.0, 0.25);
    }
    EXPECT_GE(seen.size(), 6u);
    EXPECT_EQ(surface_.picture().size(), QSize(233, 175));  // 4:3 fitted into 249 × 175

    ASSERT_TRUE(finished.wait(5000));
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_TRUE(player.ended());
    EXPECT_FALSE(player.playing());
    RunRecorder::pump(200);
    EXPECT_EQ(finished.count, 1);
    EXPECT_GE(surface_.picturesShown(), 15);
}

TEST_F(PreviewPlayerTest, StopEndsPlaybackAtOnceWithoutFinishing)
{
    PreviewPlayer player(&surface_, PreviewPlayer::Sound::Silent);
    FinishCount finished(player);
    ASSERT_TRUE(player.start({clip("grey.avi", 0.0, 1.0)}, {clip("grey.avi", 0.0, 1.0)}));
    RunRecorder::pump(300);
    EXPECT_GT(surface_.picturesShown(), 0);
    player.stop();
    EXPECT_FALSE(player.playing());
    EXPECT_TRUE(surface_.picture().isNull());
    RunRecorder::pump(1200);
    EXPECT_EQ(finished.count, 0);
    EXPECT_FALSE(player.ended());

    // The player can play again after a stop.
    ASSERT_TRUE(player.start({clip("grey.avi", 0.5, 0.8)}, {}));
    EXPECT_TRUE(finished.wait(3000));
}

TEST_F(PreviewPlayerTest, NothingToPlayOrUnreadableSourceIsRefused)
{
    QFile text(folder_->filePath("text.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a video");
    text.close();

    PreviewPlayer player(&surface_);
    EXPECT_FALSE(player.start({}, {}));
    EXPECT_FALSE(player.start({clip("missing.avi", 0.0, 1.0)}, {}));
    EXPECT_FALSE(player.start({clip("grey.avi", 0.0, 1.0)}, {clip("text.avi", 0.0, 1.0)}));
    EXPECT_FALSE(player.start({clip("grey.avi", 0.0, 1.0), clip("text.avi", 0.0, 1.0)}, {}));
    EXPECT_FALSE(player.playing());

    // A sound span from a file without sound plays as silence.
    FinishCount finished(player);
    EXPECT_TRUE(player.start({}, {clip("grey.avi", 0.0, 0.3)}));
    EXPECT_TRUE(finished.wait(3000));
}

}  // namespace
