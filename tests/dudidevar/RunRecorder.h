// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "engine/IConversionControl.h"

// Records a control's events and waits for the end of a run, running the event loop.
class RunRecorder : public IControlEvents {
public:
    void OnConvertDone() override { ++done; }
    void OnConvertProgress(double secondsDone, double totalSeconds) override;
    void OnConvertFailed(const std::string& why) override;

    // True when the run ended (done or failed) within the time.
    bool waitForEnd(int milliseconds = 60000);
    // Runs the event loop until the run's first progress event (sent as soon as it starts).
    bool waitForProgress(int milliseconds = 30000);
    // Runs the event loop for a while, so late events would arrive.
    static void pump(int milliseconds);
    // Runs the event loop until the condition holds or the time is up; whether it holds.
    static bool waitUntil(const std::function<bool()>& condition, int milliseconds);

    int done = 0;
    int failed = 0;
    int progress = 0;
    double lastDone = -1.0;
    double lastTotal = -1.0;
    std::string reason;
};
