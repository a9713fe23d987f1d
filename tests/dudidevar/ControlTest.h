// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "RunRecorder.h"
#include "TestMedia.h"
#include "dudidevar/control/DudidEvarControl.h"

// A control whose events are recorded, with a fresh folder for its outputs.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        control.SetEventSink(&events);
        folder = TestMedia::scratchFolder();
    }

    // Adds the file as the task editor's clip list does: its whole length as measured.
    void addWhole(const std::string& source, short keepSize = 0, bool sound = true)
    {
        const double length = control.GetDuration(source);
        control.AddVideoClip(source, 0, length, keepSize);
        if (sound)
            control.AddAudioClip(source, 0, length);
    }

    // Waits for the run's end and tells whether it was done without failing.
    bool finished() { return events.waitForEnd() && events.done == 1 && events.failed == 0; }

    // Starts a run into the folder and tells whether it ended failed, never done.
    bool fails(const std::string& name)
    {
        events = {};
        return control.Convert(folder + name) && events.waitForEnd() && events.failed == 1 && events.done == 0;
    }

    // Converts the clip list into the folder, expecting it to finish, and returns the output.
    std::string convert(const std::string& name)
    {
        events = {};
        const std::string out = folder + name;
        const bool started = control.Convert(out);
        EXPECT_TRUE(started) << control.GetLastError();
        EXPECT_TRUE(started && finished()) << events.reason;  // a refused run has no end to wait for
        return out;
    }

    DudidEvarControl control;
    RunRecorder events;
    std::string folder;
};
