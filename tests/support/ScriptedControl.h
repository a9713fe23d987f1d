// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/IConversionControl.h"

// A conversion control for tests: records every call in order with its arguments and answers
// from a script. Events are raised when the test asks, on the test's thread.
class ScriptedControl : public IConversionControl {
public:
    struct Script {
        std::map<std::string, double> durations;
        std::map<std::string, std::pair<short, short>> sizes;
        std::vector<std::string> videoCompressors;
        std::vector<std::string> audioCompressors;
        std::vector<std::string> wmvProfiles;
        std::vector<std::string> compressorsWithPages;  // names whose ShowPropertyPage answers true
        bool convertResult = true;                      // for Convert and the sound savers
        std::vector<bool> convertResults;               // per call, used before convertResult
        bool previewResult = true;
        bool saveFrameResult = true;
        std::string lastError;  // what GetLastError answers
        std::vector<short> videoCodecs{0, 1, 2};  // the MP4 codecs HasVideoCodec answers true for
        std::set<std::string> refusedClips;  // sources whose clips the control refuses
        std::map<std::string, std::vector<SourceTrack>> tracks;  // not recorded: asked off the UI thread
    };

    ScriptedControl();
    explicit ScriptedControl(Script script);

    Script& script() { return script_; }
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    // The calls whose text starts with the prefix, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    void raiseDone();
    void raiseProgress(double done, double total);
    void raiseFailed(const std::string& reason);

    QWidget* Widget() override { return &widget_; }
    void SetEventSink(IControlEvents* sink) override { sink_ = sink; }

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
    bool SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                        short bytesPerSample) override;
    std::string GetLastError() override { return script_.lastError; }

    void record(std::string call) { calls_.push_back(std::move(call)); }

private:
    bool nextRunResult();

    Script script_;
    std::vector<std::string> calls_;
    IControlEvents* sink_ = nullptr;
    QWidget widget_;
};
