// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewPlayer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "dudidevar/picture/PictureGeometry.h"
#include "dudidevar/preview/PreviewAudioOutput.h"
#include "dudidevar/preview/PreviewSoundTrack.h"
#include "dudidevar/widgets/PreviewSurface.h"
#include "dudidevar/picture/PictureTrack.h"
#include "dudidevar/picture/SerialPictures.h"

namespace {
constexpr std::size_t kQueuedPictures = 8;
constexpr std::size_t kBufferedSoundBytes = 44100 * 4 / 2;  // half a second of CD sound
constexpr int kTickMs = 5;
constexpr AVRational kFallbackRate{25, 1};
constexpr double kFastestRate = 60.0;
// The sound clock may stop a rounding short of the end.
constexpr double kEndSlack = 0.01;
// A sound output whose clock stands still this long no longer holds the preview open.
constexpr qint64 kStalledClockMs = 5000;

QImage toImage(const AVFrame& frame)
{
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const auto rowBytes = std::size_t(frame.width) * 4;
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(image.scanLine(y), frame.data[0] + std::ptrdiff_t(y) * frame.linesize[0], rowBytes);
    return image;
}
}  // namespace

PreviewPlayer::PreviewPlayer(PreviewSurface* surface, Sound sound, QObject* parent)
    : QObject(parent), surface_(surface), sound_(sound), frames_(kQueuedPictures), soundBuffer_(kBufferedSoundBytes)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &PreviewPlayer::present);
}

PreviewPlayer::~PreviewPlayer()
{
    stop();
}

bool PreviewPlayer::start(const std::vector<Clip>& pictureClips, const std::vector<Clip>& soundClips,
                          const SubtitleChoice& subtitles)
{
    stop();
    error_.clear();
    if (pictureClips.empty() && soundClips.empty())
        return false;
    frames_.reopen();
    soundBuffer_.reopen();

    double pictureSeconds = 0.0;
    if (!pictureClips.empty()) {
        pictureTrack_ = std::make_unique<PictureTrack>();
        if (!pictureTrack_->open(pictureClips, &error_)) {
            release();
            return false;
        }
        const SourceShape shape = pictureTrack_->sourceShape();
        AVRational rate = shape.frameRate;
        if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > kFastestRate)
            rate = kFallbackRate;
        const PictureGeometry::Size shown = PictureGeometry::squareSize(shape);
        QSize size(shown.width, shown.height);
        if (surface_ && !surface_->fittedSize(size).isEmpty())
            size = surface_->fittedSize(size);
        PicturePlan plan;
        plan.enabled = true;
        plan.width = std::max(2, size.width());
        plan.height = std::max(2, size.height());
        plan.frameRate = rate;
        plan.pixelFormat = AV_PIX_FMT_BGRA;
        pictureTrack_->setOutput(plan);
        if (!subtitles_.open(subtitles, pictureClips, pictureTrack_->probedInputs(), plan, &error_)) {
            release();
            return false;
        }
        pictureTrack_->fitter().setOverlay(&subtitles_);
        pictures_ = std::make_unique<SerialPictures>(*pictureTrack_);
        pictureSeconds = pictureTrack_->totalSeconds();
        frameInterval_ = av_q2d(av_inv_q(rate));
    }
    double soundSeconds = 0.0;
    for (const Clip& clip : soundClips)
        soundSeconds += clip.length();
    total_ = std::max(pictureSeconds, soundSeconds);
    if (!openSound(soundClips)) {
        release();
        return false;
    }

    // Without a working output the preview plays silently in real time.
    if (soundOutput_ && !soundOutput_->start()) {
        soundOutput_.reset();
        soundTrack_.reset();
    }
    stopping_ = false;
    picturesDone_ = pictureTrack_ == nullptr;
    soundDone_ = soundTrack_ == nullptr;
    ended_ = false;
    played_ = 0.0;
    lastClock_ = -1.0;
    // Pictures and sound are decoded apart, so a sound device that takes its time to start or
    // buffers deeply never waits for pictures that wait for the sound's clock.
    if (pictureTrack_)
        worker_ = std::thread([this] { decodePictures(); });
    if (soundTrack_)
        soundWorker_ = std::thread([this] { decodeSound(); });
    elapsed_.start();
    timer_.start();
    return true;
}

// Sound plays when there are sound spans and the output starts; otherwise the preview is silent.
bool PreviewPlayer::openSound(const std::vector<Clip>& soundClips)
{
    if (soundClips.empty())
        return true;
    if (sound_ == Sound::Silent) {
        // Still make sure every sound source can be read, as with sound.
        PreviewSoundTrack check;
        return check.open(soundClips, total_, 8000, 1);
    }
    soundTrack_ = std::make_unique<PreviewSoundTrack>();
    if (!soundTrack_->open(soundClips, total_, PreviewAudioOutput::kSampleRate, PreviewAudioOutput::kChannels))
        return false;
    soundOutput_ = std::make_unique<PreviewAudioOutput>(soundBuffer_);
    return true;
}

void PreviewPlayer::stop()
{
    timer_.stop();
    release();
    if (surface_)
        surface_->clear();
}

void PreviewPlayer::release()
{
    stopping_ = true;
    frames_.close();
    soundBuffer_.close();
    if (worker_.joinable())
        worker_.join();
    if (soundWorker_.joinable())
        soundWorker_.join();
    soundOutput_.reset();
    soundTrack_.reset();
    pictures_.reset();
    pictureTrack_.reset();
}

// The picture worker: keeps the bounded picture queue filled until the pictures are done.
void PreviewPlayer::decodePictures()
{
    while (!stopping_ && decodePicture()) {
    }
    picturesDone_ = true;
}

// The sound worker: keeps the bounded sound buffer filled until the sound is done.
void PreviewPlayer::decodeSound()
{
    QByteArray piece;
    bool more = true;
    while (!stopping_ && more) {
        piece.clear();
        more = soundTrack_->produce(piece);
        if (!piece.isEmpty() && !soundBuffer_.append(piece))
            break;
    }
    soundBuffer_.finish();
    soundDone_ = true;
}

bool PreviewPlayer::decodePicture()
{
    const double time = pictureTrack_->secondsDone();
    std::string error;
    ff::Frame frame = pictures_->next(&error);
    if (!frame)
        return false;
    return frames_.push({time, toImage(*frame)});
}

void PreviewPlayer::present()
{
    const double now = clock();
    played_ = std::min(now, total_);
    if (auto frame = frames_.takeDue(now); frame && surface_)
        surface_->showPicture(frame->image);
    const bool allShown = picturesDone_ && soundDone_ && frames_.empty() && now >= total_ - kEndSlack;
    if (now > lastClock_) {
        lastClock_ = now;
        sinceClockMoved_.start();
    }
    const bool stalled = sinceClockMoved_.elapsed() > kStalledClockMs;
    if (allShown || stalled)
        finish();
}

double PreviewPlayer::clock() const
{
    if (soundOutput_)
        return soundOutput_->playedSeconds();
    return double(elapsed_.nsecsElapsed()) / 1.0e9;
}

void PreviewPlayer::finish()
{
    timer_.stop();
    release();
    ended_ = true;
    emit finished();
}
