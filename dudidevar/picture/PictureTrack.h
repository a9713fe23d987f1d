// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/source/Clip.h"
#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/picture/PictureFitter.h"
#include "dudidevar/source/SourceShape.h"
#include "dudidevar/source/ProbeShelf.h"
#include "dudidevar/source/SpanDecoder.h"

// The video spans of a clip list as one picture track at the output's size, pixel format and
// frame rate; each span's pictures turned upright and fitted into the frame at their shape.
// Output frame k is shown at k / rate; it is the source frame shown at the corresponding time of
// its span, so spans join without gap or overlap and a span starts with the frame shown at its
// start. SerialPictures and PictureStages make the frames.
class PictureTrack {
public:
    // Opens every span's file, taking those probed already from the shelf; false with the reason
    // when one cannot be read.
    bool open(const std::vector<Clip>& clips, std::string* error, ProbeShelf* probes = nullptr);
    // Whether the reading of the track's one span can go on into a clip that follows it in the
    // same file: it has not reached the file's end nor failed.
    bool readsOn() const;
    // Makes the track the one of the clip that follows its span in the same file, its reading
    // going on where it stopped (no seek, the decoder as it was); false with the reason when
    // there is no picture there. Before setOutput.
    bool continueAt(const Clip& clip, std::string* error);
    // The first span's source picture: size, rate, pixel shape and turn.
    SourceShape sourceShape() const;
    // The opened and probed file of each span still to be read, by path.
    std::map<std::string, AVFormatContext*> probedInputs() const;

    void setOutput(const PicturePlan& plan);
    double totalSeconds() const { return total_; }
    // Seconds of output made so far.
    double secondsDone() const;
    std::int64_t frameCount() const { return frameCount_; }
    bool finished() const { return index_ >= frameCount_; }
    // The source picture due at the next output frame (false with the reason when there is none),
    // and the fitter that makes the output frame from it. Used by one thread at a time, apart
    // from the fitter, which shares nothing with the rest.
    bool nextDue(PictureFitter::Due* due, std::string* error);
    PictureFitter& fitter() { return fitter_; }
    // A decode under way ends within a picture with the reason "stopped" once the run's stop
    // flag is set, or once stop() is called from another thread (the stages ending early); a
    // forward decode to a far span start is no exception.
    void watchStopFlag(const std::atomic<bool>* runStop) { runStop_ = runStop; }
    void stop() { stopped_ = true; }

private:
    struct Span {
        Clip clip;
        double offset = 0.0;  // start in the output, seconds
        std::unique_ptr<SpanDecoder> decoder;
        ff::Frame shown;       // the frame shown at the current time
        ff::Frame upcoming;    // the next decoded frame, not yet due
        bool ended = false;
        bool fresh = false;
        int rotation = 0;  // the turn that shows the span's pictures upright
    };

    bool openSpan(Span& span, ProbeShelf* probes, std::string* error);
    bool advanceTo(Span& span, double time, std::string* error);
    bool stopRequested() const;

    std::vector<Span> spans_;
    std::size_t current_ = 0;
    PicturePlan plan_;
    double total_ = 0.0;
    std::int64_t frameCount_ = 0;
    std::int64_t index_ = 0;
    PictureFitter fitter_;
    const std::atomic<bool>* runStop_ = nullptr;
    std::atomic<bool> stopped_{false};
};
