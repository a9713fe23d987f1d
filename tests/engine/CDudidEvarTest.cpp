// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ScriptedControl.h"
#include "engine/CDudidEvar.h"

namespace {

struct Wrapped {
    Wrapped()
    {
        auto owned = std::make_unique<ScriptedControl>();
        control = owned.get();
        control->script().videoCompressors = {"Xvid", "DivX-compatible MPEG-4"};
        control->script().audioCompressors = {"PCM"};
        control->script().wmvProfiles = {"Video 8 (384 Kbps)", "Audio (64 Kbps)"};
        control->script().compressorsWithPages = {"Xvid"};
        wrapper.Attach(std::move(owned));
    }
    CDudidEvar wrapper;
    ScriptedControl* control;
};

}  // namespace

TEST(CDudidEvar, OperationsReachTheControlInOrderWithTheirArguments)
{
    Wrapped w;
    w.wrapper.SetOutputWidth(352);
    w.wrapper.SetOutputHeight(240);
    w.wrapper.SetOutputFormat(7);
    w.wrapper.SetFrameRate(24);
    w.wrapper.ClearClips();
    w.wrapper.AddVideoClip("/v/a.avi", 0, 10, 1);
    w.wrapper.AddAudioClip("/v/a.avi", 0, 10);
    EXPECT_TRUE(w.wrapper.Convert("/v/out.avi"));
    w.wrapper.Stop();
    EXPECT_EQ(w.control->calls(),
              (std::vector<std::string>{"SetOutputWidth(352)", "SetOutputHeight(240)", "SetOutputFormat(7)",
                                        "SetFrameRate(24)", "ClearClips()", "AddVideoClip(/v/a.avi, 0, 10, 1)",
                                        "AddAudioClip(/v/a.avi, 0, 10)", "Convert(/v/out.avi)", "Stop()"}));
}

TEST(CDudidEvar, EachCollectionCallFetchesTheCollectionAnew)
{
    Wrapped w;
    EXPECT_EQ(w.wrapper.GetVideoCompressors().GetCount(), 2);
    EXPECT_EQ(w.wrapper.GetVideoCompressors().GetName(1), "DivX-compatible MPEG-4");
    EXPECT_EQ(w.wrapper.GetVideoCompressors().FindIndex("Xvid"), 0);
    EXPECT_TRUE(w.wrapper.GetVideoCompressors().ShowPropertyPage(0));
    EXPECT_FALSE(w.wrapper.GetAudioCompressors().ShowPropertyPage(0));
    EXPECT_EQ(w.wrapper.GetWmvProfiles().GetProfileName(1), "Audio (64 Kbps)");
    EXPECT_EQ(w.control->callsStartingWith("GetVideoCompressors").size(), 4u);
    EXPECT_EQ(w.control->callsStartingWith("GetAudioCompressors").size(), 1u);
    EXPECT_EQ(w.control->callsStartingWith("GetWmvProfiles").size(), 1u);
}

TEST(CDudidEvar, ControlEventsBecomeSignals)
{
    Wrapped w;
    QSignalSpy done(&w.wrapper, &CDudidEvar::convertDone);
    QSignalSpy progress(&w.wrapper, &CDudidEvar::convertProgress);
    QSignalSpy failed(&w.wrapper, &CDudidEvar::convertFailed);
    w.control->raiseProgress(1.5, 10.0);
    w.control->raiseDone();
    w.control->raiseFailed("disk full");
    ASSERT_EQ(progress.size(), 1);
    EXPECT_DOUBLE_EQ(progress[0][0].toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(progress[0][1].toDouble(), 10.0);
    EXPECT_EQ(done.size(), 1);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0][0].toString(), "disk full");
}
