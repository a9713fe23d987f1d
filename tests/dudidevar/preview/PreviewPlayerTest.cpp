// SPDX-License-Identifier: GPL-3.0-or-later
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "FrameTestMedia.h"
#include "RunRecorder.h"
#include "dudidevar/control/DudidEvarControl.h"
#include "dudidevar/preview/PreviewPlayer.h"
#include "dudidevar/widgets/PreviewSurface.h"

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

// The threads of this process that serve a connection to the sound server (the client library
// gives them this name).
int soundClientThreads()
{
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        count += std::getline(comm, name) && name == "threaded-ml";
    }
    return count;
}

class PreviewPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface_.resize(249, 175);
        surface_.show();
    }

    const std::string grey = FrameTestMedia::greyVideo(10, 1);
    const std::string tone = FrameTestMedia::toneVideo();
    PreviewSurface surface_;
};

TEST_F(PreviewPlayerTest, ClipListPlaysInRealTimeToItsEndOnce)
{
    PreviewPlayer player(&surface_, PreviewPlayer::Sound::Silent);
    FinishCount finished(player);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.start({{grey, 0.0, 1.0, false}, {tone, 0.2, 0.7, false}}, {{tone, 0.0, 1.5, false}}));
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

// That no finish follows a stop is checked through the control's events below.
TEST_F(PreviewPlayerTest, StopEndsPlaybackAtOnceAndThePlayerPlaysAgain)
{
    PreviewPlayer player(&surface_, PreviewPlayer::Sound::Silent);
    FinishCount finished(player);
    ASSERT_TRUE(player.start({{grey, 0.0, 1.0, false}}, {{grey, 0.0, 1.0, false}}));
    RunRecorder::pump(300);
    EXPECT_GT(surface_.picturesShown(), 0);
    player.stop();
    EXPECT_FALSE(player.playing());
    EXPECT_TRUE(surface_.picture().isNull());

    // The player can play again after a stop.
    ASSERT_TRUE(player.start({{grey, 0.5, 0.8, false}}, {}));
    EXPECT_TRUE(finished.wait(3000));
}

// The preview burns the chosen subtitles in as the output does: the line shows in the lower
// part of the picture while it is due, and not after.
TEST_F(PreviewPlayerTest, SubtitlesAreDrawnWhileTheyAreDue)
{
    const std::string srt = TestMedia::fileWith("preview.srt", "1\n00:00:00,000 --> 00:00:00,600\nWORDS\n\n");
    const auto brightPixelsBelow = [](const QImage& picture) {
        int bright = 0;
        for (int y = picture.height() / 2; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                bright += qGray(picture.pixel(x, y)) > 150;
        }
        return bright;
    };
    PreviewPlayer player(&surface_, PreviewPlayer::Sound::Silent);
    FinishCount finished(player);
    SubtitleChoice subtitles;
    ASSERT_TRUE(SubtitleChoice::parse(srt, &subtitles));
    ASSERT_TRUE(player.start({{FrameTestMedia::greyVideo(10, 2), 0.0, 1.5, false}}, {}, subtitles));
    int shown = 0;
    int after = -1;
    while (!finished.count) {
        RunRecorder::pump(15);
        const int frame = FrameTestMedia::frameNumberOf(surface_.picture());
        if (frame >= 1 && frame <= 4)
            shown = std::max(shown, brightPixelsBelow(surface_.picture()));
        else if (frame >= 8)
            after = std::max(after, brightPixelsBelow(surface_.picture()));
        if (player.ended())
            break;
    }
    EXPECT_GT(shown, 20);
    EXPECT_EQ(after, 0);
}

TEST_F(PreviewPlayerTest, NothingToPlayOrUnreadableSourceIsRefused)
{
    const std::string text = TestMedia::fileWith("preview-text.avi", "not a video");
    PreviewPlayer player(&surface_);
    EXPECT_FALSE(player.start({}, {}));
    EXPECT_FALSE(player.start({{grey + ".missing.avi", 0.0, 1.0, false}}, {}));
    EXPECT_FALSE(player.start({{grey, 0.0, 1.0, false}}, {{text, 0.0, 1.0, false}}));
    EXPECT_FALSE(player.start({{grey, 0.0, 1.0, false}, {text, 0.0, 1.0, false}}, {}));
    EXPECT_FALSE(player.playing());

    // A sound span from a file without sound plays as silence. The connection to the sound
    // server closes with the playback: left to the end of the process, its closing raced the
    // client library's own thread and could abort the program.
    FinishCount finished(player);
    EXPECT_TRUE(player.start({}, {{grey, 0.0, 0.3, false}}));
    EXPECT_EQ(soundClientThreads() > 0, player.soundPlaying());
    EXPECT_TRUE(finished.wait(3000));
    EXPECT_EQ(soundClientThreads(), 0);
}

// The control's preview as the main window uses it: the clip list, Preview, the events, Stop.
TEST_F(PreviewPlayerTest, ControlPlaysItsClipListInItsWindowAndStopRaisesNoEvent)
{
    RunRecorder events;
    DudidEvarControl control;
    control.SetEventSink(&events);
    control.Widget()->resize(249, 175);
    control.Widget()->show();
    const auto* surface = qobject_cast<const PreviewSurface*>(control.Widget());
    ASSERT_NE(surface, nullptr);

    EXPECT_FALSE(control.Preview());  // nothing to play
    ASSERT_TRUE(control.AddVideoClip(tone + ".missing.avi", 0.0, 1.0, 0));
    EXPECT_FALSE(control.Preview());
    RunRecorder::pump(200);
    EXPECT_EQ(events.done + events.failed, 0);

    control.ClearClips();
    for (double start : {0.0, 0.5}) {
        ASSERT_TRUE(control.AddVideoClip(tone, start, 1.0, 0));
        ASSERT_TRUE(control.AddAudioClip(tone, start, 1.0));
    }
    ASSERT_TRUE(control.Preview());
    EXPECT_TRUE(events.waitForEnd(10000));
    RunRecorder::pump(300);
    EXPECT_EQ(events.done, 1);
    EXPECT_EQ(events.failed, 0);
    EXPECT_GE(surface->picturesShown(), 20);

    events = {};
    ASSERT_TRUE(control.Preview());
    RunRecorder::pump(300);
    control.Stop();
    const int shown = surface->picturesShown();
    RunRecorder::pump(1500);
    EXPECT_EQ(events.done + events.failed, 0);
    EXPECT_EQ(surface->picturesShown(), shown);
}

}  // namespace
