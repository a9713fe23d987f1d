// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/picture/PictureSupply.h"
#include "dudidevar/picture/PictureTrack.h"
#include "dudidevar/plan/OutputPlanner.h"
#include "dudidevar/run/OutputVerifier.h"
#include "dudidevar/run/OutputWriter.h"
#include "dudidevar/run/PartContinuation.h"
#include "dudidevar/run/RunOutcome.h"
#include "dudidevar/run/RunProgress.h"
#include "dudidevar/run/TempOutput.h"
#include "dudidevar/run/ThreadsStartedMeanwhile.h"
#include "dudidevar/sound/SoundSupply.h"
#include "dudidevar/sound/SoundTrack.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/source/ProbeShelf.h"
#include "dudidevar/source/TrackChoice.h"
#include "dudidevar/subtitles/BurnedSubtitles.h"
#include "dudidevar/subtitles/SoftSubtitles.h"
#include "dudidevar/subtitles/SubtitleChoice.h"

// One run that writes a clip list to a file: prepared completely before it starts (sources
// opened, encoders and the temporary output ready), then run on the worker thread.
class ConversionJob {
public:
    // Chooses the output from the first video source (a default shape when there is none).
    using Planner = std::function<bool(const SourceShape&, OutputPlan*, std::string*)>;

    struct Request {
        std::vector<Clip> pictureClips;
        std::vector<Clip> soundClips;
        bool requireSound = false;  // a sound clip from a file without sound is an error
        std::string target;
        Planner planner;
    };

    // Which sound track each source gives, and the subtitles burned into the picture (before
    // prepare; by default the sources' default sound and no subtitles).
    void chooseTracks(const TrackChoice& sound, const SubtitleChoice& subtitles)
    {
        soundChoice_ = sound;
        subtitleChoice_ = subtitles;
    }
    // Where the reading of a part of a file is taken over from the part before it, and, when
    // the part ends before its file does (goesOn), left for the part after it (before prepare;
    // by default the run opens its sources and leaves nothing).
    void continueParts(std::shared_ptr<PartContinuation> parts, bool goesOn)
    {
        parts_ = std::move(parts);
        partGoesOn_ = goesOn;
    }
    // The sweep for killed runs' leftovers that the runs of a batch share (before prepare; by
    // default the output's folder is swept by a sweep of its own).
    void sweepLeftoversWith(LeftoverSweep* sweep) { leftovers_ = sweep; }
    // Sources probed already (when their length was asked for) are taken from the shelf rather
    // than probed again (before prepare).
    void takeProbesFrom(std::shared_ptr<ProbeShelf> probes) { probes_ = std::move(probes); }
    bool prepare(const Request& request, std::string* error);
    // Encodes everything, checks the finished output against the clips and renames it onto
    // the target; on stop or failure the temporary file is removed and the target stays as it
    // was.
    RunOutcome run(RunProgress& progress);

private:
    bool openTracks(const Request& request, std::string* error);
    PartContinuation::Reading reading(const Request& request) const;
    void leaveReading();
    bool prepareTracks(const Request& request, std::string* error);
    bool openSubtitles(const Request& request, const OutputPlan& plan, std::string* error);
    bool writeSubtitlesBefore(double seconds, std::string* error);
    bool planOutput(const Request& request, OutputPlan* plan, std::string* error);
    bool startSupplies(std::string* error);
    RunOutcome writeAll(RunProgress& progress);
    RunOutcome finishOutput(RunProgress& progress);
    RunOutcome fail(const std::string& reason);

    TrackChoice soundChoice_;
    SubtitleChoice subtitleChoice_;
    std::unique_ptr<PictureTrack> pictureTrack_ = std::make_unique<PictureTrack>();
    BurnedSubtitles subtitles_;  // drawn by the picture track's fitter
    SoftSubtitles softSubtitles_;  // kept as a track of an MP4 output
    std::unique_ptr<SoundTrack> soundTrack_ = std::make_unique<SoundTrack>();
    std::shared_ptr<PartContinuation> parts_;
    std::shared_ptr<ProbeShelf> probes_;
    bool partGoesOn_ = false;
    bool leavesReading_ = false;
    PartContinuation::Reading read_;
    bool usePicture_ = false;
    bool useSound_ = false;
    AVRational pictureRate_{25, 1};
    double total_ = 0.0;
    OutputExpectation expected_;
    std::string target_;
    LeftoverSweep* leftovers_ = nullptr;
    TempOutput temp_;
    OutputWriter writer_;
    ThreadsStartedMeanwhile codecThreads_;  // started on the preparing thread
    // Declared last: they use the tracks and the writer, the stages from threads of their own.
    std::unique_ptr<PictureSupply> pictures_;
    std::unique_ptr<SoundSupply> sound_;
};
