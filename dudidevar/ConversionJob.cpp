#include "dudidevar/ConversionJob.h"

#include <algorithm>

#include "dudidevar/SourceWords.h"
#include "dudidevar/SurroundSound.h"

// The decoder of the first picture and the encoders start their threads on the preparing
// thread; the run gives them its own priority.
bool ConversionJob::prepare(const Request& request, std::string* error)
{
    codecThreads_ = StartedThreads();
    const bool ready = prepareTracks(request, error);
    codecThreads_.collect();
    return ready;
}

bool ConversionJob::prepareTracks(const Request& request, std::string* error)
{
    SourceShape shape;
    if (!request.videoClips.empty()) {
        if (!video_.open(request.videoClips, error))
            return false;
        shape = video_.sourceShape();
    }
    if (!request.audioClips.empty() &&
        !audio_.open(request.audioClips, request.requireSound, request.videoClips.empty(), video_.probedInputs(), error))
        return false;
    OutputPlan plan;
    if (!request.planner(shape, &plan, error))
        return false;
    SurroundSound::fit(plan, audio_.sourceChannels());
    if (plan.muxer == "wav")
        plan.largeWav = OutputPlanner::wavMayPass4GiB(plan.audio, audio_.totalSeconds());
    useVideo_ = plan.video.enabled && !request.videoClips.empty();
    useAudio_ = plan.audio.enabled && !request.audioClips.empty();
    plan.video.enabled = useVideo_;
    plan.audio.enabled = useAudio_;
    if (useVideo_) {
        video_.setOutput(plan.video);
        // Clips shorter than one frame of the output would make a file without a picture.
        if (video_.finished()) {
            *error = SourceWords::noPicture(request.videoClips.front().path);
            return false;
        }
    }
    writer_.setShownName(request.target);
    if (!temp_.create(request.target, error) || !writer_.open(plan, temp_.path(), error))
        return false;
    if (useAudio_) {
        const AVCodecContext* encoder = writer_.audioEncoder();
        const bool variable = encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
        if (!audio_.setOutput(encoder, !variable && encoder->frame_size > 0, error))
            return false;
    }
    total_ = useVideo_ ? video_.totalSeconds() : audio_.totalSeconds();
    expected_ = {useVideo_, useAudio_, useVideo_ ? video_.totalSeconds() : 0.0,
                 useAudio_ ? audio_.totalSeconds() : 0.0,
                 useVideo_ && plan.video.frameRate.num > 0 ? av_q2d(av_inv_q(plan.video.frameRate)) : 0.0};
    target_ = request.target;
    return true;
}

double ConversionJob::secondsDone() const
{
    if (useVideo_ && useAudio_)
        return std::min(video_.secondsDone(), audio_.secondsDone());
    return useVideo_ ? video_.secondsDone() : audio_.secondsDone();
}

// Makes one frame of whichever track is behind, so the muxer gets them interleaved.
bool ConversionJob::step(std::string* error)
{
    const bool videoDue = useVideo_ && !video_.finished() &&
                          (!useAudio_ || audio_.finished() || video_.secondsDone() <= audio_.secondsDone());
    if (videoDue) {
        ff::Frame frame = video_.next(error);
        return frame && writer_.writeVideo(frame.get(), error);
    }
    ff::Frame frame = audio_.next(error);
    return frame && writer_.writeAudio(frame.get(), error);
}

RunOutcome ConversionJob::run(RunProgress& progress)
{
    std::string error;
    codecThreads_.takeCallersPriority();
    progress.report(0.0, total_);
    while ((useVideo_ && !video_.finished()) || (useAudio_ && !audio_.finished())) {
        if (progress.stopRequested()) {
            temp_.discard();
            return RunOutcome::failure("stopped");
        }
        if (!step(&error)) {
            temp_.discard();
            return RunOutcome::failure(error.empty() ? "the conversion failed" : error);
        }
        progress.report(secondsDone(), total_);
    }
    if (!writer_.finish(&error) || !OutputVerifier(expected_).verify(temp_.path(), target_, &error)) {
        temp_.discard();
        return RunOutcome::failure(error);
    }
    // Renaming the finished file onto the target is the one step that cannot be taken back: a
    // stop that came while the file was being finished still keeps the target as it was.
    if (progress.stopRequested()) {
        temp_.discard();
        return RunOutcome::failure("stopped");
    }
    if (!temp_.commit(&error))
        return RunOutcome::failure(error);
    return RunOutcome::success();
}
