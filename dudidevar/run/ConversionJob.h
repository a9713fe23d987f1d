#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/sound/AudioTrack.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/plan/OutputPlanner.h"
#include "dudidevar/run/OutputVerifier.h"
#include "dudidevar/run/OutputWriter.h"
#include "dudidevar/picture/PictureStages.h"
#include "dudidevar/sound/SoundStage.h"
#include "dudidevar/run/RunHost.h"
#include "dudidevar/run/StartedThreads.h"
#include "dudidevar/run/TempOutput.h"
#include "dudidevar/picture/VideoTrack.h"

// One run that writes a clip list to a file: prepared completely before it starts (sources
// opened, encoders and the temporary output ready), then run on the worker thread.
class ConversionJob {
public:
    // Chooses the output from the first video source (a default shape when there is none).
    using Planner = std::function<bool(const SourceShape&, OutputPlan*, std::string*)>;

    struct Request {
        std::vector<Clip> videoClips;
        std::vector<Clip> audioClips;
        bool requireSound = false;  // a sound clip from a file without sound is an error
        std::string target;
        Planner planner;
    };

    bool prepare(const Request& request, std::string* error);
    // Encodes everything, checks the finished output against the clips and renames it onto
    // the target; on stop or failure the temporary file is removed and the target stays as it
    // was.
    RunOutcome run(RunProgress& progress);

private:
    bool prepareTracks(const Request& request, std::string* error);
    bool step(std::string* error);
    ff::Frame nextPicture(std::string* error);
    bool videoFinished() const;
    double videoSecondsDone() const;
    bool soundFinished() const;
    double soundSecondsDone() const;
    bool writeSoundPacket(std::string* error);
    double secondsDone() const;
    bool startStages(std::string* error);
    RunOutcome fail(const std::string& reason);

    VideoTrack video_;
    AudioTrack audio_;
    bool useVideo_ = false;
    bool useAudio_ = false;
    AVRational pictureRate_{25, 1};
    std::int64_t picturesWritten_ = 0;
    double total_ = 0.0;
    OutputExpectation expected_;
    std::string target_;
    TempOutput temp_;
    OutputWriter writer_;
    StartedThreads codecThreads_;  // started on the preparing thread
    // Declared last: their threads use the tracks and the writer.
    std::unique_ptr<PictureStages> stages_;
    std::unique_ptr<SoundStage> sound_;
    bool soundEnded_ = false;
    double soundSeconds_ = 0.0;  // the end of the last sound packet written
};
