// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "tasks/ConversionTask.h"

class CDudidEvar;

// The three steps that prepare the conversion control for a task: its properties, the clip
// list of the whole task, and the clip list and start of one split part.
class TaskControlSetup {
public:
    explicit TaskControlSetup(CDudidEvar& control) : control_(control) {}

    // Sets the control's properties from the task's settings (a WMV task is switched to the
    // source's size in its record). For a split task, returns the first source's duration;
    // otherwise 0.
    double setUp(ConversionTask& task);
    // Every source in full, in order: picture, and sound unless the task is video-only. False,
    // with the list left incomplete, when the control refuses a source's clip (a missing or
    // unreadable file): a join never runs without one of its sources.
    bool addWholeTaskClips(const ConversionTask& task);
    // The part of the first source from partStart, up to splitSeconds long and never past
    // sourceDuration, converted to the part's own file. The result of Convert; false too when
    // the source no longer reaches the part's start.
    bool convertSplitPart(const ConversionTask& task, std::int32_t partStart, double sourceDuration);

    // Converts the clip list to the file; false without starting when the control refuses it
    // (an output that exists and is no regular file, among others).
    bool convertTo(const std::string& outputPath);

    // Why the last step failed, naming the source when a source was the cause.
    std::string failureReason() const;

private:
    void setFormatProperties(const TaskSettings& settings);
    bool refuseSource(const std::string& source);

    CDudidEvar& control_;
    std::string refusal_;
};
