#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "FrameTestMedia.h"
#include "RunRecorder.h"
#include "dudidevar/DudidEvarControl.h"
#include "dudidevar/PreviewSurface.h"

namespace {

// The control's preview as the main window uses it: the clip list, Preview, the events, Stop.
class PreviewControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        ASSERT_TRUE(FrameTestMedia::makeVideoWithSound(folder_->filePath("tone.avi"), 1.0));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override
    {
        control_.SetEventSink(&events_);
        control_.Widget()->resize(249, 175);
        control_.Widget()->show();
    }

    void addTone(double start, double end)
    {
        const std::string tone = folder_->filePath("tone.avi").toStdString();
        ASSERT_TRUE(control_.AddVideoClip(tone, start, end, 0));
        ASSERT_TRUE(control_.AddAudioClip(tone, start, end));
    }
    const PreviewSurface* surface() { return qobject_cast<const PreviewSurface*>(control_.Widget()); }

    static std::unique_ptr<QTemporaryDir> folder_;
    RunRecorder events_;
    DudidEvarControl control_;
};

std::unique_ptr<QTemporaryDir> PreviewControlTest::folder_;

TEST_F(PreviewControlTest, ClipListPlaysInTheControlsWindowAndEndsWithOneDone)
{
    ASSERT_NE(surface(), nullptr);
    addTone(0.0, 1.0);
    addTone(0.5, 1.0);
    ASSERT_TRUE(control_.Preview());
    EXPECT_TRUE(events_.waitForEnd(10000));
    RunRecorder::pump(300);
    EXPECT_EQ(events_.done, 1);
    EXPECT_EQ(events_.failed, 0);
    EXPECT_GE(surface()->picturesShown(), 20);
}

TEST_F(PreviewControlTest, StopDuringPlaybackRaisesNoEvent)
{
    addTone(0.0, 1.0);
    ASSERT_TRUE(control_.Preview());
    RunRecorder::pump(300);
    control_.Stop();
    const int shown = surface()->picturesShown();
    RunRecorder::pump(1500);
    EXPECT_EQ(events_.done, 0);
    EXPECT_EQ(events_.failed, 0);
    EXPECT_EQ(surface()->picturesShown(), shown);
}

TEST_F(PreviewControlTest, EmptyOrUnreadableClipListIsRefused)
{
    EXPECT_FALSE(control_.Preview());
    ASSERT_TRUE(control_.AddVideoClip(folder_->filePath("missing.avi").toStdString(), 0.0, 1.0, 0));
    EXPECT_FALSE(control_.Preview());
    RunRecorder::pump(200);
    EXPECT_EQ(events_.done + events_.failed, 0);
}

}  // namespace
