// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "FrameTestMedia.h"
#include "dudidevar/stills/FrameGrabber.h"
#include "dudidevar/stills/FrameSaver.h"
#include "dudidevar/run/ThreadsStartedMeanwhile.h"

namespace {

using FrameTestMedia::frameNumberIn;

// Frame n of the grey videos is a flat grey of level 16 + 4n, stored at video levels.
int frameNumberOf(const AVFrame* frame)
{
    if (!frame)
        return -2;
    const int luma = frame->data[0][frame->linesize[0] * (frame->height / 2) + frame->width / 2];
    return int(std::lround(((luma - 16) * 255.0 / 219.0 - 16.0) / 4.0));
}

class FrameLookaheadTest : public ::testing::Test {
protected:
    // 60 frames at 10 per second.
    const std::string avi = FrameTestMedia::greyVideo(10, 6);
    const std::string folder = TestMedia::scratchFolder();

    // Saves at the source's size; the frame number the picture shows, -2 when none was written.
    int saved(FrameSaver& saver, const std::string& video, double seconds)
    {
        const std::string picture = folder + "ahead.bmp";
        QFile::remove(QString::fromStdString(picture));
        return saver.saveOriginalSize(video, seconds, picture) ? frameNumberIn(picture) : -2;
    }
};

// Whatever the calls guess about the ones to come, each picture is the one taken alone.
TEST_F(FrameLookaheadTest, PicturesAreThoseOfSingleCallsWhetherTheStepHoldsOrBreaks)
{
    // Even runs are the saver's own tests' rising times; here the runs that break.
    const std::vector<std::vector<std::pair<double, int>>> runs{
        {{0.0, 0}, {0.5, 5}, {1.0, 10}, {3.7, 37}, {0.2, 2}, {0.4, 4}},  // broken ahead and behind
        {{1.0, 10}, {1.1, 11}, {1.2, 12}, {1.25, 12}, {1.35, 13}},       // a step a little off
        {{4.0, 40}, {5.0, 50}, {5.9, 59}, {6.8, -2}, {5.5, 55}},         // past the end and back
    };
    for (const auto& run : runs) {
        FrameSaver saver;
        for (const auto& [seconds, frame] : run)
            EXPECT_EQ(saved(saver, avi, seconds), frame) << "at " << seconds << " s";
    }
}

TEST_F(FrameLookaheadTest, OnlyAnEvenRunWithinTheFileIsDecodedAhead)
{
    FrameSaver saver;
    saved(saver, avi, 1.0);
    EXPECT_FALSE(saver.decodingAhead());  // no step yet
    saved(saver, avi, 1.5);
    EXPECT_TRUE(saver.decodingAhead());
    saved(saver, avi, 0.5);
    EXPECT_FALSE(saver.decodingAhead());  // behind: no run
    saved(saver, avi, 4.0);
    EXPECT_FALSE(saver.decodingAhead());  // the next, at 7.5 s, lies past the end
    saver.close();
    EXPECT_FALSE(saver.decodingAhead());
    EXPECT_EQ(saved(saver, avi, 2.0), 20);
}

// A saver closed or destroyed while it decodes ahead stops without waiting for the pictures it
// guessed, and one closed goes on at any time.
TEST_F(FrameLookaheadTest, ClosingInTheMiddleOfARunStopsTheThreadAndLeavesTheSaverUsable)
{
    for (int calls = 2; calls <= 5; ++calls) {
        FrameSaver saver;
        for (int k = 0; k < calls; ++k)
            ASSERT_EQ(saved(saver, avi, 0.2 * k), 2 * k);
        ASSERT_TRUE(saver.decodingAhead());
        const auto before = std::chrono::steady_clock::now();
        saver.close();
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
        EXPECT_EQ(saved(saver, avi, 3.3), 33);
    }
    const std::set<int> before = ThreadsStartedMeanwhile::all();
    {
        FrameSaver saver;
        saved(saver, avi, 0.0);
        saved(saver, avi, 1.0);
    }
    for (int id : ThreadsStartedMeanwhile::all())
        EXPECT_TRUE(before.count(id)) << "thread " << id << " outlived its saver";
}

// A source cut short: its header promises 3 s, its pictures end before 1 s. The run ahead meets
// the end and stops; each picture after it fails with its reason and leaves no file.
TEST_F(FrameLookaheadTest, SourceThatEndsEarlyFailsEachLaterPictureWithItsReason)
{
    const std::string bytes = TestMedia::contentOf(avi);
    const std::string cut = TestMedia::fileWith("grey-cut.avi", bytes.substr(0, bytes.size() / 2));
    FrameSaver saver;
    int written = 0;
    int last = -1;
    for (int k = 0; k < 12; ++k) {
        const std::string picture = folder + "cut-" + std::to_string(k) + ".bmp";
        if (saver.saveOriginalSize(cut, 0.2 * k, picture)) {
            EXPECT_EQ(written, k) << "a picture after a failed one";
            EXPECT_EQ(frameNumberIn(picture), 2 * k);
            ++written;
            last = k;
        } else {
            EXPECT_FALSE(saver.lastError().empty());
            EXPECT_FALSE(QFile::exists(QString::fromStdString(picture)));
        }
    }
    EXPECT_GE(written, 3);
    EXPECT_LT(written, 12);
    EXPECT_EQ(last, written - 1);
}

// A stopped search answers at once; what it leaves lets the next search find the exact frame,
// decoding on, after a seek, or from the start.
TEST_F(FrameLookaheadTest, StoppedGrabberGoesOnToTheExactFrame)
{
    const std::vector<std::pair<double, double>> cases{
        {-1.0, 2.0},  // stopped at the start of the file
        {1.0, 2.0},   // stopped while decoding on
        {1.0, 5.3},   // stopped after a seek
        {4.0, 0.2},   // stopped behind, close to the start
    };
    for (const auto& [first, stoppedAt] : cases) {
        std::atomic<bool> stop{false};
        FrameGrabber grabber;
        grabber.setStop(&stop);
        if (first >= 0.0) {
            ASSERT_EQ(frameNumberOf(grabber.frameAt(avi, first)), int(first * 10));
        }
        const int wanted = int(stoppedAt * 10 + 0.5);
        stop = true;
        EXPECT_NE(frameNumberOf(grabber.frameAt(avi, stoppedAt)), wanted) << "not stopped, from " << first;
        stop = false;
        EXPECT_EQ(frameNumberOf(grabber.frameAt(avi, stoppedAt)), wanted) << "from " << first;
        EXPECT_EQ(frameNumberOf(grabber.frameAt(avi, 5.9)), 59);
    }
}

// Where frames are stored in the order they are shown, a key frame between the last picture and
// the next lets the frames before it go undecoded; the pictures stay exact.
TEST_F(FrameLookaheadTest, FramesBeforeTheKeyFrameOfAPictureAreNotDecodedWhereThatIsSafe)
{
    // A key frame every 12 frames, whatever changes between them.
    const auto grey = [](const std::string& name, const std::vector<std::string>& options) {
        std::vector<std::string> args{"-f", "lavfi", "-i", "color=black:s=64x48:r=10:d=6,format=gray,geq=lum='16+N*4'",
                                      "-pix_fmt", "yuv420p", "-g", "12", "-sc_threshold", "1000000000"};
        args.insert(args.end(), options.begin(), options.end());
        return TestMedia::made(name, args);
    };
    const struct {
        std::string video;
        bool skips;
    } cases[] = {
        {grey("grey-gop12.avi", {"-c:v", "mpeg4", "-q:v", "2", "-bf", "0"}), true},
        {grey("grey-gop12.mp4", {"-c:v", "mpeg4", "-q:v", "2", "-bf", "0"}), true},
        // Frames stored out of their order: a skip could lose a frame shown after the key frame.
        {grey("grey-gop12-b.mp4", {"-c:v", "mpeg4", "-q:v", "2", "-bf", "2"}), false},
    };
    for (const auto& c : cases) {
        FrameGrabber grabber;
        for (int frame : {0, 10, 23, 29, 47, 59})
            EXPECT_EQ(frameNumberOf(grabber.frameAt(c.video, frame / 10.0 + 0.01)), frame) << c.video;
        EXPECT_EQ(grabber.seekCount(), 0) << c.video;
        EXPECT_EQ(grabber.skippedCount() > 0, c.skips) << c.video;
    }
}

int priorityOf(int thread)
{
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

// Pictures are taken on the window's thread, or the thread of a run: what is decoded ahead for
// them works at that thread's priority.
TEST_F(FrameLookaheadTest, ThreadDecodingAheadWorksAtItsCallersPriority)
{
    std::vector<int> priorities;
    int caller = 0;
    std::thread lowered([&] {
        const int self = ::gettid();
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(self), priorityOf(self) + 3);
        caller = priorityOf(self);
        ThreadsStartedMeanwhile started;
        FrameSaver saver;
        saved(saver, avi, 0.0);
        saved(saver, avi, 0.1);
        started.collect();
        for (int id : started.started())
            priorities.push_back(priorityOf(id));
    });
    lowered.join();
    ASSERT_FALSE(priorities.empty());
    for (int priority : priorities)
        EXPECT_EQ(priority, caller);
}

}  // namespace
