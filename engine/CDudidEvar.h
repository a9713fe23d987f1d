// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "engine/CCompressorList.h"
#include "engine/CWmvProfileList.h"
#include "engine/ControlThreads.h"
#include "engine/IConversionControl.h"

class QWidget;

// The system's wrapper of the conversion control. Every operation goes straight to the
// control; its events come back as the signals below, on the user-interface thread.
class CDudidEvar : public QObject, private IControlEvents {
    Q_OBJECT
public:
    explicit CDudidEvar(QObject* parent = nullptr);
    ~CDudidEvar() override;

    // Creates the control from the class registry as a child of the given widget; false when
    // no class is registered under the id or the control cannot be made.
    bool Create(const std::string& classId, QWidget* parentWidget);
    // Takes a control that was made elsewhere (tests, the command-line companion).
    void Attach(std::unique_ptr<IConversionControl> control);
    bool IsCreated() const { return control_ != nullptr; }
    QWidget* Widget() const;
    IConversionControl* Control() const { return control_.get(); }

    void SetWmvProfile(short index);
    void SetVideoCompressor(short index);
    void SetUseVideoCompressor(bool use);
    void SetAudioCompressor(short index);
    void SetUseAudioCompressor(bool use);
    void SetOutputHeight(short height);
    void SetOutputWidth(short width);
    void SetOutputFormat(long format);
    void SetFrameRate(double fps);
    void SetVbrQuality(long quality);
    void SetVbr(bool vbr);
    void SetVideoBitRate(long kbps);
    void SetAudioBitRate(long kbps);
    void SetVideoCodec(short codec);
    void SetQuality(long quality);
    void SetSpeed(short speed);
    void SetSoundTrack(const std::string& track);
    void SetSubtitles(const std::string& subtitles);
    void SetSoftSubtitles(bool soft);
    void SetStillSubtitles(const std::string& subtitles);
    bool HasVideoCodec(short codec);

    CWmvProfileList GetWmvProfiles();
    CCompressorList GetVideoCompressors();
    CCompressorList GetAudioCompressors();

    void ClearClips();
    bool AddVideoClip(const std::string& path, double start, double end, short keepSize);
    bool AddAudioClip(const std::string& path, double start, double end);
    bool Convert(const std::string& outputPath);
    bool Preview();
    void Stop();
    double GetDuration(const std::string& path);
    short GetVideoWidth(const std::string& path);
    short GetVideoHeight(const std::string& path);
    std::vector<SourceTrack> GetTracks(const std::string& path);
    bool SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath);
    bool SaveFrameSized(const std::string& mediaPath, double time, const std::string& bitmapPath,
                        short width, short height);
    bool SaveAudioAsWma(const std::string& outputPath);
    bool SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                        short bytesPerSample);
    std::string GetLastError();

    // Runs work that calls the control on a thread of its own, for a caller that must not wait
    // for it (see ControlThreads); the control stays until every such work has ended.
    void RunOffThread(std::function<void()> work);

signals:
    void convertDone();
    void convertProgress(double secondsDone, double totalSeconds);
    void convertFailed(const QString& reason);

private:
    void OnConvertDone() override;
    void OnConvertProgress(double secondsDone, double totalSeconds) override;
    void OnConvertFailed(const std::string& reason) override;

    std::unique_ptr<IConversionControl> control_;
    ControlThreads threads_;  // declared after the control, so they end before it goes
};
