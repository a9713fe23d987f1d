// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/control/DudidEvarControl.h"

#include <QPalette>

#include <QtGlobal>
#include <cstdlib>
#include <filesystem>

#include "dudidevar/control/ControlCollections.h"
#include "dudidevar/control/LibraryLog.h"
#include "dudidevar/subtitles/SubtitleChoice.h"
#include "dudidevar/run/ConversionJob.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/plan/Mp4Plan.h"
#include "dudidevar/preview/PreviewPlayer.h"
#include "dudidevar/widgets/PreviewSurface.h"
#include "dudidevar/run/RunHost.h"

namespace {

PreviewSurface* makeBlackSurface(QWidget* parent)
{
    auto* surface = new PreviewSurface(parent);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, Qt::black);
    surface->setPalette(palette);
    surface->setAutoFillBackground(true);
    return surface;
}

bool samePath(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    const auto ca = std::filesystem::weakly_canonical(a, ec);
    const auto cb = std::filesystem::weakly_canonical(b, ec);
    return !ec && ca == cb;
}

short toShort(int value)
{
    return value > 0x7fff ? short(0x7fff) : short(value);
}

}  // namespace

DudidEvarControl::DudidEvarControl(QWidget* parent)
    : surfaceParent_(parent), runs_(std::make_unique<RunHost>())
{
    av_log_set_level(std::getenv(kLibraryLogVariable) ? AV_LOG_INFO : AV_LOG_QUIET);
}

DudidEvarControl::~DudidEvarControl()
{
    runs_->stop();
    preview_.reset();
    delete widget_.data();
}

QWidget* DudidEvarControl::Widget() { return surface(); }

PreviewSurface* DudidEvarControl::surface()
{
    if (!widget_ && !preview_)
        widget_ = makeBlackSurface(surfaceParent_);
    return widget_.data();
}
void DudidEvarControl::SetEventSink(IControlEvents* sink) { runs_->setSink(sink); }

void DudidEvarControl::SetWmvProfile(short index) { properties_.wmvProfile = index; }
void DudidEvarControl::SetVideoCompressor(short index) { properties_.videoCompressor = index; }
void DudidEvarControl::SetUseVideoCompressor(bool use) { properties_.useVideoCompressor = use; }
void DudidEvarControl::SetAudioCompressor(short index) { properties_.audioCompressor = index; }
void DudidEvarControl::SetUseAudioCompressor(bool use) { properties_.useAudioCompressor = use; }
void DudidEvarControl::SetOutputHeight(short height) { properties_.outputHeight = height; }
void DudidEvarControl::SetOutputWidth(short width) { properties_.outputWidth = width; }
void DudidEvarControl::SetOutputFormat(long format) { properties_.outputFormat = format; }
void DudidEvarControl::SetFrameRate(double fps) { properties_.frameRate = fps; }
void DudidEvarControl::SetVbrQuality(long quality) { properties_.vbrQuality = quality; }
void DudidEvarControl::SetVbr(bool vbr) { properties_.vbr = vbr; }
void DudidEvarControl::SetVideoBitRate(long kbps) { properties_.videoBitRate = kbps; }
void DudidEvarControl::SetAudioBitRate(long kbps) { properties_.audioBitRate = kbps; }
void DudidEvarControl::SetVideoCodec(short codec) { properties_.videoCodec = codec; }
void DudidEvarControl::SetQuality(long quality) { properties_.quality = quality; }
void DudidEvarControl::SetSpeed(short speed) { properties_.speed = speed; }
void DudidEvarControl::SetSoundTrack(const std::string& track) { properties_.soundTrack = track; }
void DudidEvarControl::SetSubtitles(const std::string& subtitles) { properties_.subtitles = subtitles; }
void DudidEvarControl::SetSoftSubtitles(bool soft) { properties_.softSubtitles = soft; }
void DudidEvarControl::SetStillSubtitles(const std::string& subtitles) { properties_.stillSubtitles = subtitles; }
bool DudidEvarControl::HasVideoCodec(short codec) { return Mp4Plan::encoderAvailable(codec); }

std::unique_ptr<IWmvProfileCollection> DudidEvarControl::GetWmvProfiles()
{
    return std::make_unique<WmvProfileCollection>();
}

std::unique_ptr<ICompressorCollection> DudidEvarControl::GetVideoCompressors()
{
    return std::make_unique<CompressorCollection>(CompressorCollection::Kind::Video);
}

std::unique_ptr<ICompressorCollection> DudidEvarControl::GetAudioCompressors()
{
    return std::make_unique<CompressorCollection>(CompressorCollection::Kind::Audio);
}

void DudidEvarControl::ClearClips()
{
    pictureClips_.clear();
    soundClips_.clear();
    clipRefusal_.clear();
}

bool DudidEvarControl::AddVideoClip(const std::string& path, double start, double end, short keepSize)
{
    if (path.empty() || !(end > start) || start < 0)
        return refuseClip(path, start, end);
    pictureClips_.push_back({path, start, end, keepSize != 0});
    return true;
}

bool DudidEvarControl::AddAudioClip(const std::string& path, double start, double end)
{
    if (path.empty() || !(end > start) || start < 0)
        return refuseClip(path, start, end);
    soundClips_.push_back({path, start, end, false});
    return true;
}

// A clip is refused mostly because its file could not be measured (a missing or unreadable
// file has no length); the file's own fault says more than the empty span does. GetLastError
// answers it at once, so the caller can name the source it refuses.
bool DudidEvarControl::refuseClip(const std::string& path, double start, double end)
{
    if (clipRefusal_.empty()) {
        std::string error;
        if (path.empty())
            clipRefusal_ = "a clip names no file";
        else if (!MediaProbe::open(path, &error))
            clipRefusal_ = error;
        else
            clipRefusal_ = "the clip of " + path + " from " + std::to_string(start) + " to " +
                           std::to_string(end) + " s holds nothing";
    }
    lastError_->set(clipRefusal_);
    return false;
}

bool DudidEvarControl::Convert(const std::string& outputPath)
{
    const ControlProperties properties = properties_;
    const bool keepSize = !pictureClips_.empty() && pictureClips_.front().keepSize;
    const bool withPicture = !pictureClips_.empty();
    const bool withSound = !soundClips_.empty();
    return startJob(outputPath, pictureClips_, false,
                    [=](const SourceShape& shape, OutputPlan* plan, std::string* error) {
                        return OutputPlanner::planConversion(properties, shape, keepSize, withPicture, withSound,
                                                             plan, error);
                    });
}

bool DudidEvarControl::namesASource(const std::string& outputPath) const
{
    for (const auto* clips : {&pictureClips_, &soundClips_}) {
        for (const Clip& clip : *clips) {
            if (samePath(clip.path, outputPath))
                return true;
        }
    }
    return false;
}

bool DudidEvarControl::startJob(const std::string& outputPath, const std::vector<Clip>& pictureClips,
                                bool requireSound, ConversionJob::Planner planner)
{
    lastError_->clear();
    if (outputPath.empty())
        return refuse("no output file is named");
    if (pictureClips.empty() && soundClips_.empty())
        return refuse(clipRefusal_.empty() ? "the clip list is empty" : clipRefusal_);
    if (namesASource(outputPath))
        return refuse("the output path names one of the sources: " + outputPath);
    TrackChoice soundTrack;
    if (!TrackChoice::parse(properties_.soundTrack, &soundTrack))
        return refuse("the sound track \"" + properties_.soundTrack + "\" is neither a track number nor a language");
    SubtitleChoice subtitles;
    if (!chosenSubtitles(&subtitles))
        return false;
    stopRuns();
    auto job = std::make_shared<ConversionJob>();
    std::string error;
    job->chooseTracks(soundTrack, subtitles);
    if (requireSound)
        parts_->clear();
    else
        job->continueParts(parts_, partGoesOn(pictureClips));
    job->sweepLeftoversWith(&batchSweep_->forOutput());
    job->takeProbesFrom(measured_.probes());
    if (!job->prepare({pictureClips, soundClips_, requireSound, outputPath, std::move(planner)}, &error)) {
        batchSweep_->outputEnded();
        return refuse(error);
    }
    startRun([job, batch = batchSweep_](RunProgress& progress) {
        RunOutcome outcome = job->run(progress);
        batch->outputEnded();
        return outcome;
    });
    return true;
}

// Keeps the reason of a run that fails for GetLastError; a stopped run has not failed.
void DudidEvarControl::startRun(RunHost::Work work)
{
    runs_->start([work = std::move(work), note = lastError_](RunProgress& progress) {
        RunOutcome outcome = work(progress);
        if (!outcome.ok && !progress.stopRequested())
            note->set(outcome.reason);
        return outcome;
    });
}

bool DudidEvarControl::chosenSubtitles(SubtitleChoice* choice)
{
    if (!SubtitleChoice::parse(properties_.subtitles, choice))
        return refuse("the subtitles \"" + properties_.subtitles +
                      "\" are neither a track number, a language, \"forced\" nor a file");
    choice->soft = properties_.softSubtitles;
    return true;
}

bool DudidEvarControl::refuse(const std::string& reason)
{
    lastError_->set(reason);
    return false;
}

std::string DudidEvarControl::GetLastError()
{
    return lastError_->get();
}

bool DudidEvarControl::Preview()
{
    Stop();
    lastError_->clear();
    if (pictureClips_.empty() && soundClips_.empty())
        return refuse(clipRefusal_.empty() ? "the clip list is empty" : clipRefusal_);
    if (!preview_)
        preview_ = std::make_unique<PreviewPlayer>(surface());
    SubtitleChoice subtitles;
    if (!chosenSubtitles(&subtitles))
        return false;
    if (!preview_->start(pictureClips_, soundClips_, subtitles))
        return refuse(preview_->error().empty() ? "the clips cannot be played" : preview_->error());
    // The preview plays on the user-interface thread; this run only reports its end.
    startRun([player = preview_.get()](RunProgress& progress) {
        while (!player->ended() && !progress.stopRequested()) {
            progress.report(player->playedSeconds(), player->totalSeconds());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return RunOutcome::success();
    });
    return true;
}

// A part that ends before its file does leaves its reading open for the next part. The file is
// converted next: its probe, when it is measured here, is kept for the conversion.
bool DudidEvarControl::partGoesOn(const std::vector<Clip>& pictureClips)
{
    if (pictureClips.size() != 1)
        return false;
    const Clip& clip = pictureClips.front();
    return clip.end < measured_.of(clip.path, true).seconds;
}

void DudidEvarControl::Stop()
{
    stopRuns();
    parts_->clear();
    measured_.probes()->clear();
}

void DudidEvarControl::stopRuns()
{
    runs_->stop();
    if (preview_)
        preview_->stop();
}

// A file measured while a task converts is most likely a later task's source: its probe is kept
// for that task's conversion.
MeasuredFiles::Measures DudidEvarControl::measuresOf(const std::string& path)
{
    return measured_.of(path, runs_->working());
}

double DudidEvarControl::GetDuration(const std::string& path)
{
    return measuresOf(path).seconds;
}

short DudidEvarControl::GetVideoWidth(const std::string& path)
{
    return toShort(measuresOf(path).width);
}

short DudidEvarControl::GetVideoHeight(const std::string& path)
{
    return toShort(measuresOf(path).height);
}

std::vector<SourceTrack> DudidEvarControl::GetTracks(const std::string& path)
{
    return measuresOf(path).tracks;
}

bool DudidEvarControl::SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath)
{
    return pictureSaved(frames_.chooseSubtitles(properties_.stillSubtitles) &&
                        frames_.saveOriginalSize(mediaPath, time, bitmapPath));
}

bool DudidEvarControl::SaveFrameSized(const std::string& mediaPath, double time,
                                      const std::string& bitmapPath, short width, short height)
{
    return pictureSaved(frames_.chooseSubtitles(properties_.stillSubtitles) &&
                        frames_.saveSized(mediaPath, time, bitmapPath, width, height));
}

// A picture that was not written leaves its reason for GetLastError.
bool DudidEvarControl::pictureSaved(bool saved)
{
    lastError_->set(saved ? std::string() : frames_.lastError());
    return saved;
}

bool DudidEvarControl::SaveAudioAsWma(const std::string& outputPath)
{
    if (soundClips_.empty())
        return refuseNoSound();
    return startJob(outputPath, {}, true, [](const SourceShape&, OutputPlan* plan, std::string*) {
        *plan = OutputPlanner::planWma();
        return true;
    });
}

bool DudidEvarControl::SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                                      short bytesPerSample)
{
    if (soundClips_.empty())
        return refuseNoSound();
    return startJob(outputPath, {}, true,
                    [=](const SourceShape&, OutputPlan* plan, std::string* error) {
                        return OutputPlanner::planWav(channels, int(sampleRate), bytesPerSample, plan, error);
                    });
}

bool DudidEvarControl::refuseNoSound()
{
    lastError_->clear();
    return refuse(clipRefusal_.empty() ? "the clip list holds no sound" : clipRefusal_);
}
