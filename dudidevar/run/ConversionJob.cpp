#include "dudidevar/run/ConversionJob.h"

#include <algorithm>
#include <system_error>

#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/source/SourceWords.h"
#include "dudidevar/plan/SurroundSound.h"

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
    pictureRate_ = plan.video.frameRate;
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

bool ConversionJob::videoFinished() const
{
    return !useVideo_ || picturesWritten_ >= video_.frameCount();
}

double ConversionJob::videoSecondsDone() const
{
    return picturesWritten_ * av_q2d(av_inv_q(pictureRate_));
}

bool ConversionJob::soundFinished() const
{
    return !useAudio_ || (sound_ ? soundEnded_ : audio_.finished());
}

double ConversionJob::soundSecondsDone() const
{
    return sound_ ? soundSeconds_ : audio_.secondsDone();
}

double ConversionJob::secondsDone() const
{
    if (useVideo_ && useAudio_)
        return std::min(videoSecondsDone(), soundSecondsDone());
    return useVideo_ ? videoSecondsDone() : soundSecondsDone();
}

ff::Frame ConversionJob::nextPicture(std::string* error)
{
    return stages_ ? stages_->next(error) : video_.next(error);
}

// Makes one frame of whichever track is behind, so the muxer gets them interleaved.
bool ConversionJob::step(std::string* error)
{
    const bool videoDue =
        !videoFinished() && (soundFinished() || videoSecondsDone() <= soundSecondsDone());
    if (videoDue) {
        ff::Frame frame = nextPicture(error);
        if (!frame || !writer_.writeVideo(frame.get(), error))
            return false;
        ++picturesWritten_;
        return true;
    }
    if (sound_)
        return writeSoundPacket(error);
    ff::Frame frame = audio_.next(error);
    return frame && writer_.writeAudio(frame.get(), error);
}

bool ConversionJob::writeSoundPacket(std::string* error)
{
    ff::Packet packet = sound_->next(error);
    if (!packet) {
        soundEnded_ = error->empty();
        return soundEnded_;
    }
    if (packet->pts != AV_NOPTS_VALUE) {
        const AVRational base = writer_.audioStreamTimeBase();
        soundSeconds_ = std::max(soundSeconds_, (packet->pts + packet->duration) * av_q2d(base));
    }
    return writer_.writePacket(packet.get(), error);
}

bool ConversionJob::startStages(std::string* error)
{
    try {
        if (useVideo_)
            stages_ = std::make_unique<PictureStages>(video_);
        if (useAudio_)
            sound_ = std::make_unique<SoundStage>(audio_, writer_);
    } catch (const std::system_error& e) {
        *error = std::string("the conversion's threads cannot be started: ") + e.what();
        return false;
    }
    return true;
}

RunOutcome ConversionJob::fail(const std::string& reason)
{
    stages_.reset();
    sound_.reset();
    temp_.discard();
    return RunOutcome::failure(reason);
}

RunOutcome ConversionJob::run(RunProgress& progress)
{
    std::string error;
    codecThreads_.takeCallersPriority();
    progress.report(0.0, total_);
    // Pictures are decoded and fitted, and sound is encoded, ahead on threads of their own where
    // there is a second core to run them.
    if (CodecThreads::cores() > 1 && !startStages(&error))
        return fail(error);
    while (!videoFinished() || !soundFinished()) {
        if (progress.stopRequested())
            return fail("stopped");
        if (!step(&error))
            return fail(error.empty() ? "the conversion failed" : error);
        progress.report(secondsDone(), total_);
    }
    stages_.reset();
    sound_.reset();
    if (!writer_.finish(&error) || !OutputVerifier(expected_).verify(temp_.path(), target_, &error))
        return fail(error);
    // Renaming the finished file onto the target is the one step that cannot be taken back: a
    // stop that came while the file was being finished still keeps the target as it was.
    if (progress.stopRequested())
        return fail("stopped");
    if (!temp_.commit(&error))
        return RunOutcome::failure(error);
    return RunOutcome::success();
}
