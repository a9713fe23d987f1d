// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dudidevar/source/Clip.h"
#include "dudidevar/preview/PreviewAudioBuffer.h"
#include "dudidevar/preview/PreviewFrameQueue.h"
#include "dudidevar/subtitles/BurnedSubtitles.h"
#include "dudidevar/subtitles/SubtitleChoice.h"
#include "dudidevar/widgets/PreviewSurface.h"

class PreviewAudioOutput;
class PreviewSoundTrack;
class PictureTrack;
class SerialPictures;

// Plays a clip list in a surface: the video spans joined as one picture track, the sound spans
// as one sound track. A worker thread decodes ahead into bounded queues; a timer on the
// user-interface thread shows each picture when the clock reaches it. The clock is the sound
// output's played time, or a monotonic clock when there is no sound to play or no device.
class PreviewPlayer : public QObject {
    Q_OBJECT
public:
    enum class Sound { Automatic, Silent };

    explicit PreviewPlayer(PreviewSurface* surface, Sound sound = Sound::Automatic, QObject* parent = nullptr);
    ~PreviewPlayer() override;

    // Opens every source and starts playing; false, with nothing playing, when both lists are
    // empty or a source cannot be opened.
    // The subtitles are burned into the pictures as a conversion burns them.
    bool start(const std::vector<Clip>& pictureClips, const std::vector<Clip>& soundClips,
               const SubtitleChoice& subtitles = {});
    // Why the last start failed, when a source's picture says why.
    const std::string& error() const { return error_; }
    // Ends playback at once; finished() is not emitted.
    void stop();

    bool playing() const { return timer_.isActive(); }
    // Safe from any thread: the clip list has played to its end.
    bool ended() const { return ended_.load(); }
    double totalSeconds() const { return total_; }
    // Safe from any thread.
    double playedSeconds() const { return played_.load(); }
    bool soundPlaying() const { return soundOutput_ != nullptr; }

signals:
    void finished();

private:
    bool openSound(const std::vector<Clip>& soundClips);
    void decodePictures();
    void decodeSound();
    bool decodePicture();
    void present();
    double clock() const;
    void finish();
    void release();

    QPointer<PreviewSurface> surface_;
    Sound sound_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    QElapsedTimer sinceClockMoved_;
    double lastClock_ = -1.0;
    BurnedSubtitles subtitles_;  // drawn by the picture track's fitter, declared before it
    std::unique_ptr<PictureTrack> pictureTrack_;
    std::unique_ptr<SerialPictures> pictures_;
    std::unique_ptr<PreviewSoundTrack> soundTrack_;
    std::unique_ptr<PreviewAudioOutput> soundOutput_;
    PreviewFrameQueue frames_;
    PreviewAudioBuffer soundBuffer_;
    std::thread worker_;
    std::thread soundWorker_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> picturesDone_{false};
    std::atomic<bool> soundDone_{false};
    std::atomic<bool> ended_{false};
    std::atomic<double> played_{0.0};
    double total_ = 0.0;
    std::string error_;
    double frameInterval_ = 0.04;
};
