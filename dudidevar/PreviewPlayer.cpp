#include "dudidevar/PreviewPlayer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "dudidevar/PreviewAudioOutput.h"
#include "dudidevar/PreviewSoundTrack.h"
#include "dudidevar/PreviewSurface.h"
#include "dudidevar/VideoTrack.h"

namespace {
constexpr std::size_t kQueuedPictures = 8;
constexpr std::size_t kBufferedSoundBytes = 44100 * 4 / 2;  // half a second of CD sound
constexpr int kTickMs = 5;
constexpr AVRational kFallbackRate{25, 1};
constexpr double kFastestRate = 60.0;
// The sound clock may stop a rounding short of the end.
constexpr double kEndSlack = 0.01;
constexpr double kOverdueSeconds = 2.0;

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

bool PreviewPlayer::start(const std::vector<Clip>& video, const std::vector<Clip>& audio)
{
    stop();
    if (video.empty() && audio.empty())
        return false;
    frames_.reopen();
    soundBuffer_.reopen();

    double videoSeconds = 0.0;
    if (!video.empty()) {
        video_ = std::make_unique<VideoTrack>();
        std::string error;
        if (!video_->open(video, &error)) {
            release();
            return false;
        }
        AVRational rate = video_->sourceRate();
        if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > kFastestRate)
            rate = kFallbackRate;
        const AVRational aspect = video_->sourceAspect();
        const double shape = aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
        QSize size(int(video_->sourceWidth() * shape + 0.5), video_->sourceHeight());
        if (surface_ && !surface_->fittedSize(size).isEmpty())
            size = surface_->fittedSize(size);
        VideoPlan plan;
        plan.enabled = true;
        plan.width = std::max(2, size.width());
        plan.height = std::max(2, size.height());
        plan.frameRate = rate;
        plan.pixelFormat = AV_PIX_FMT_BGRA;
        video_->setOutput(plan);
        videoSeconds = video_->totalSeconds();
        frameInterval_ = av_q2d(av_inv_q(rate));
    }
    double audioSeconds = 0.0;
    for (const Clip& clip : audio)
        audioSeconds += clip.length();
    total_ = std::max(videoSeconds, audioSeconds);
    if (!openSound(audio)) {
        release();
        return false;
    }

    stopping_ = false;
    decodingDone_ = false;
    ended_ = false;
    played_ = 0.0;
    worker_ = std::thread([this] { decode(); });
    if (audio_ && !audio_->start())
        audio_.reset();
    elapsed_.start();
    timer_.start();
    return true;
}

// Sound plays when there are sound spans and an output device; otherwise the preview is silent.
bool PreviewPlayer::openSound(const std::vector<Clip>& audio)
{
    if (audio.empty())
        return true;
    const auto format = sound_ == Sound::Automatic ? PreviewAudioOutput::defaultFormat() : std::nullopt;
    if (!format) {
        // Still make sure every sound source can be read, as with sound.
        PreviewSoundTrack check;
        return check.open(audio, total_, 8000, 1);
    }
    soundTrack_ = std::make_unique<PreviewSoundTrack>();
    if (!soundTrack_->open(audio, total_, format->sampleRate(), format->channelCount()))
        return false;
    audio_ = std::make_unique<PreviewAudioOutput>(*format, soundBuffer_);
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
    audio_.reset();
    soundTrack_.reset();
    video_.reset();
}

// The worker: keeps the sound buffer and the picture queue filled until both tracks are done.
void PreviewPlayer::decode()
{
    bool pictures = video_ != nullptr;
    bool sound = soundTrack_ != nullptr;
    QByteArray piece;
    while (!stopping_ && (pictures || sound)) {
        if (sound) {
            piece.clear();
            sound = soundTrack_->produce(piece);
            if (!piece.isEmpty() && !soundBuffer_.append(piece))
                break;
            if (!sound)
                soundBuffer_.finish();
        }
        // Pictures wait in their bounded queue; decode one between pieces of sound.
        if (pictures)
            pictures = decodePicture();
    }
    soundBuffer_.finish();
    decodingDone_ = true;
}

bool PreviewPlayer::decodePicture()
{
    const double time = video_->secondsDone();
    std::string error;
    ff::Frame frame = video_->next(&error);
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
    const bool allShown = decodingDone_ && frames_.empty() && now >= total_ - kEndSlack;
    // A sound output that stops advancing does not hold the preview open.
    const bool overdue = double(elapsed_.elapsed()) / 1000.0 > total_ + kOverdueSeconds;
    if (allShown || overdue)
        finish();
}

double PreviewPlayer::clock() const
{
    if (audio_)
        return audio_->playedSeconds();
    return double(elapsed_.nsecsElapsed()) / 1.0e9;
}

void PreviewPlayer::finish()
{
    timer_.stop();
    release();
    ended_ = true;
    emit finished();
}
