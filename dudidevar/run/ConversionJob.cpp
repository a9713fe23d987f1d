// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/ConversionJob.h"

#include <system_error>

#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/picture/PictureStages.h"
#include "dudidevar/picture/SerialPictures.h"
#include "dudidevar/plan/OutputChannels.h"
#include "dudidevar/run/Interleaver.h"
#include "dudidevar/sound/SerialSound.h"
#include "dudidevar/sound/SoundStage.h"
#include "dudidevar/base/RunNotices.h"
#include "dudidevar/source/SourceReasons.h"

// The decoder of the first picture and the encoders start their threads on the preparing
// thread; the run gives them its own priority.
bool ConversionJob::prepare(const Request& request, std::string* error)
{
    codecThreads_ = ThreadsStartedMeanwhile();
    const bool ready = prepareTracks(request, error);
    codecThreads_.collect();
    return ready;
}

PartContinuation::Reading ConversionJob::reading(const Request& request) const
{
    return {request.pictureClips, request.soundClips, soundChoice_};
}

// A part that follows the last one in the same file goes on with its tracks; any other run
// opens its sources.
bool ConversionJob::openTracks(const Request& request, std::string* error)
{
    if (parts_ && parts_->take(reading(request), &pictureTrack_, &soundTrack_)) {
        if (!request.soundClips.empty())
            soundTrack_->continueAt(request.soundClips.front());
        return pictureTrack_->continueAt(request.pictureClips.front(), error);
    }
    if (!request.pictureClips.empty() && !pictureTrack_->open(request.pictureClips, error, probes_.get()))
        return false;
    soundTrack_->chooseTrack(soundChoice_);
    return request.soundClips.empty() ||
           soundTrack_->open(request.soundClips, request.requireSound, request.pictureClips.empty(),
                             pictureTrack_->probedInputs(), error, probes_.get());
}

bool ConversionJob::prepareTracks(const Request& request, std::string* error)
{
    if (!openTracks(request, error))
        return false;
    read_ = reading(request);
    leavesReading_ = parts_ && partGoesOn_ && PartContinuation::continuable(read_);
    OutputPlan plan;
    if (!planOutput(request, &plan, error))
        return false;
    if (usePicture_) {
        pictureTrack_->setOutput(plan.picture);
        if (!openSubtitles(request, plan, error))
            return false;
        // Clips shorter than one frame of the output would make a file without a picture.
        if (pictureTrack_->finished()) {
            *error = SourceReasons::noPicture(request.pictureClips.front().path);
            return false;
        }
    }
    writer_.setShownName(request.target);
    if (!temp_.create(request.target, error, leftovers_) || !writer_.open(plan, temp_.path(), error))
        return false;
    if (useSound_) {
        const AVCodecContext* encoder = writer_.sound().context();
        const bool variable = encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
        const bool leadListed = plan.muxer == "mp4";
        if (!soundTrack_->setOutput(encoder, !variable && encoder->frame_size > 0, leadListed, error))
            return false;
    }
    total_ = usePicture_ ? pictureTrack_->totalSeconds() : soundTrack_->totalSeconds();
    expected_ = {usePicture_, useSound_, usePicture_ ? pictureTrack_->totalSeconds() : 0.0,
                 useSound_ ? soundTrack_->totalSeconds() : 0.0,
                 usePicture_ && plan.picture.frameRate.num > 0 ? av_q2d(av_inv_q(plan.picture.frameRate)) : 0.0};
    target_ = request.target;
    return true;
}

// Subtitles kept as a track where the output holds one (MP4), else burned into the picture.
bool ConversionJob::openSubtitles(const Request& request, const OutputPlan& plan, std::string* error)
{
    SubtitleChoice burned = subtitleChoice_;
    if (subtitleChoice_.soft && plan.muxer == "mp4") {
        if (!softSubtitles_.open(subtitleChoice_, request.pictureClips, pictureTrack_->probedInputs(), error))
            return false;
        if (!softSubtitles_.empty())
            writer_.keepTextTrack(softSubtitles_.encoder(), softSubtitles_.language());
        burned = {};
    } else if (subtitleChoice_.soft && subtitleChoice_.from != SubtitleChoice::From::None) {
        RunNotices::say("only an MP4 output keeps a subtitle track; the subtitles are burned into the picture");
    }
    if (!subtitles_.open(burned, request.pictureClips, pictureTrack_->probedInputs(), plan.picture, error))
        return false;
    pictureTrack_->fitter().setOverlay(&subtitles_);
    return true;
}

bool ConversionJob::writeSubtitlesBefore(double seconds, std::string* error)
{
    std::vector<ff::Packet> packets;
    if (!softSubtitles_.packetsBefore(seconds, &packets, error))
        return false;
    for (ff::Packet& packet : packets) {
        if (!writer_.writeText(packet.get(), softSubtitles_.encoder()->time_base, error))
            return false;
    }
    return true;
}

// The planner's choice, fitted to what the sources hold: their channels, their length, and
// which of picture and sound there is to write.
bool ConversionJob::planOutput(const Request& request, OutputPlan* plan, std::string* error)
{
    const SourceShape shape = request.pictureClips.empty() ? SourceShape{} : pictureTrack_->sourceShape();
    if (!request.planner(shape, plan, error))
        return false;
    OutputChannels::fit(*plan, soundTrack_->sourceChannels());
    if (plan->muxer == "wav")
        plan->largeWav = OutputPlanner::wavMayPass4GiB(plan->sound, soundTrack_->totalSeconds());
    usePicture_ = plan->picture.enabled && !request.pictureClips.empty();
    pictureRate_ = plan->picture.frameRate;
    useSound_ = plan->sound.enabled && !request.soundClips.empty();
    plan->picture.enabled = usePicture_;
    plan->sound.enabled = useSound_;
    return true;
}

// Pictures are decoded and fitted, and sound is encoded, ahead on threads of their own where
// there is a second core to run them and the picture encoder does not already fill the cores.
bool ConversionJob::startSupplies(std::string* error)
{
    const bool threads = CodecThreads::cores() > 1;
    const AVCodecContext* encoder = writer_.picture().context();
    const bool pictureStages = threads && !(encoder && CodecThreads::fillsCores(encoder->codec));
    try {
        if (usePicture_ && pictureStages)
            pictures_ = std::make_unique<PictureStages>(*pictureTrack_);
        else if (usePicture_)
            pictures_ = std::make_unique<SerialPictures>(*pictureTrack_);
        if (useSound_ && threads)
            sound_ = std::make_unique<SoundStage>(*soundTrack_, writer_.sound());
        else if (useSound_)
            sound_ = std::make_unique<SerialSound>(*soundTrack_, writer_.sound());
    } catch (const std::system_error& e) {
        *error = std::string("the conversion's threads cannot be started: ") + e.what();
        return false;
    }
    return true;
}

RunOutcome ConversionJob::fail(const std::string& reason)
{
    pictures_.reset();
    sound_.reset();
    temp_.discard();
    return RunOutcome::failure(reason);
}

RunOutcome ConversionJob::run(RunProgress& progress)
{
    codecThreads_.takeCallersPriority();
    progress.report(0.0, total_);
    pictureTrack_->watchStopFlag(&progress.stopFlag());
    soundTrack_->watchStopFlag(&progress.stopFlag());
    std::string error;
    if (!startSupplies(&error))
        return fail(error);
    RunOutcome written = writeAll(progress);
    pictures_.reset();
    sound_.reset();
    return written.ok ? finishOutput(progress) : fail(written.reason);
}

RunOutcome ConversionJob::writeAll(RunProgress& progress)
{
    Interleaver streams(writer_, {pictures_.get(), pictureTrack_->frameCount(), pictureRate_}, sound_.get());
    std::string error;
    while (!streams.finished()) {
        if (progress.stopRequested())
            return RunOutcome::failure("stopped");
        if (!streams.step(&error) || !writeSubtitlesBefore(streams.secondsDone(), &error))
            return RunOutcome::failure(error.empty() ? "the conversion failed" : error);
        progress.report(streams.secondsDone(), total_);
    }
    if (!writeSubtitlesBefore(total_ + 1.0, &error))
        return RunOutcome::failure(error);
    return RunOutcome::success();
}

// The finished file is checked against the clips before it replaces the target. Renaming it
// onto the target is the one step that cannot be taken back: a stop that came while the file
// was being finished still keeps the target as it was.
RunOutcome ConversionJob::finishOutput(RunProgress& progress)
{
    std::string error;
    if (!writer_.finish(&error) || !OutputVerifier(expected_).verify(temp_.path(), target_, &error))
        return fail(error);
    if (progress.stopRequested())
        return fail("stopped");
    if (!temp_.commit(&error))
        return RunOutcome::failure(error);
    leaveReading();
    return RunOutcome::success();
}

void ConversionJob::leaveReading()
{
    if (!leavesReading_)
        return;
    pictureTrack_->fitter().setOverlay(nullptr);  // this job's subtitles end with it
    parts_->keep(read_, std::move(pictureTrack_), std::move(soundTrack_));
}
