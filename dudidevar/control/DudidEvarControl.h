// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/source/Clip.h"
#include "dudidevar/run/BatchSweep.h"
#include "dudidevar/run/ConversionJob.h"
#include "dudidevar/plan/ControlProperties.h"
#include "dudidevar/control/LastFailureReason.h"
#include "dudidevar/control/MeasuredFiles.h"
#include "dudidevar/stills/FrameSaver.h"
#include "dudidevar/widgets/PreviewSurface.h"
#include "dudidevar/run/RunHost.h"
#include "engine/IConversionControl.h"

class PreviewPlayer;
class RunHost;

// The conversion control: probing, the clip list and its runs, all with FFmpeg's libraries.

class DudidEvarControl : public IConversionControl {
public:
    explicit DudidEvarControl(QWidget* parent = nullptr);
    ~DudidEvarControl() override;
    DudidEvarControl(const DudidEvarControl&) = delete;
    DudidEvarControl& operator=(const DudidEvarControl&) = delete;

    QWidget* Widget() override;
    void SetEventSink(IControlEvents* sink) override;

    void SetWmvProfile(short index) override;
    void SetVideoCompressor(short index) override;
    void SetUseVideoCompressor(bool use) override;
    void SetAudioCompressor(short index) override;
    void SetUseAudioCompressor(bool use) override;
    void SetOutputHeight(short height) override;
    void SetOutputWidth(short width) override;
    void SetOutputFormat(long format) override;
    void SetFrameRate(double fps) override;
    void SetVbrQuality(long quality) override;
    void SetVbr(bool vbr) override;
    void SetVideoBitRate(long kbps) override;
    void SetAudioBitRate(long kbps) override;
    void SetVideoCodec(short codec) override;
    void SetQuality(long quality) override;
    void SetSpeed(short speed) override;
    void SetSoundTrack(const std::string& track) override;
    void SetSubtitles(const std::string& subtitles) override;
    void SetSoftSubtitles(bool soft) override;
    void SetStillSubtitles(const std::string& subtitles) override;
    bool HasVideoCodec(short codec) override;

    std::unique_ptr<IWmvProfileCollection> GetWmvProfiles() override;
    std::unique_ptr<ICompressorCollection> GetVideoCompressors() override;
    std::unique_ptr<ICompressorCollection> GetAudioCompressors() override;

    void ClearClips() override;
    bool AddVideoClip(const std::string& path, double start, double end, short keepSize) override;
    bool AddAudioClip(const std::string& path, double start, double end) override;

    bool Convert(const std::string& outputPath) override;
    bool Preview() override;
    void Stop() override;

    double GetDuration(const std::string& path) override;
    short GetVideoWidth(const std::string& path) override;
    short GetVideoHeight(const std::string& path) override;
    std::vector<SourceTrack> GetTracks(const std::string& path) override;

    bool SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath) override;
    bool SaveFrameSized(const std::string& mediaPath, double time, const std::string& bitmapPath,
                        short width, short height) override;
    bool SaveAudioAsWma(const std::string& outputPath) override;
    std::string GetLastError() override;
    bool SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                        short bytesPerSample) override;

    const ControlProperties& properties() const { return properties_; }

private:
    bool namesASource(const std::string& outputPath) const;
    bool startJob(const std::string& outputPath, const std::vector<Clip>& pictureClips, bool requireSound,
                  ConversionJob::Planner planner);
    bool partGoesOn(const std::vector<Clip>& pictureClips);
    MeasuredFiles::Measures measuresOf(const std::string& path);
    void stopRuns();
    bool refuse(const std::string& reason);
    bool chosenSubtitles(SubtitleChoice* choice);
    bool refuseClip(const std::string& path, double start, double end);
    bool refuseNoSound();
    bool pictureSaved(bool saved);
    void startRun(RunHost::Work work);
    PreviewSurface* surface();

    // The preview surface is made when first asked for, so a control that only converts needs
    // no widgets (and no graphical application object).
    QWidget* surfaceParent_;
    QPointer<PreviewSurface> widget_;
    ControlProperties properties_;
    std::vector<Clip> pictureClips_;
    std::vector<Clip> soundClips_;
    std::unique_ptr<RunHost> runs_;
    // The reading of a source a part of it left open for the part that follows.
    std::shared_ptr<PartContinuation> parts_ = std::make_shared<PartContinuation>();
    // Outputs made one after another read each folder once for killed runs' leftovers.
    std::shared_ptr<BatchSweep> batchSweep_ = std::make_shared<BatchSweep>();
    MeasuredFiles measured_;
    std::string clipRefusal_;  // why the first refused clip since ClearClips was refused
    std::shared_ptr<LastFailureReason> lastError_ = std::make_shared<LastFailureReason>();
    FrameSaver frames_;
    std::unique_ptr<PreviewPlayer> preview_;
};
