// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedControl.h"

#include <algorithm>
#include <sstream>

namespace {

template <typename... Args>
std::string callText(const char* name, const Args&... args)
{
    std::ostringstream out;
    out << name << '(';
    [[maybe_unused]] const char* sep = "";
    ((out << sep << args, sep = ", "), ...);
    out << ')';
    return out.str();
}

class ScriptedCompressors : public ICompressorCollection {
public:
    ScriptedCompressors(ScriptedControl& owner, const char* kind, std::vector<std::string> names,
                        std::vector<std::string> withPages)
        : owner_(owner), kind_(kind), names_(std::move(names)), withPages_(std::move(withPages))
    {
    }
    short GetCount() override
    {
        owner_.record(callText((kind_ + ".GetCount").c_str()));
        return static_cast<short>(names_.size());
    }
    short FindIndex(const std::string& name) override
    {
        owner_.record(callText((kind_ + ".FindIndex").c_str(), name));
        auto it = std::find(names_.begin(), names_.end(), name);
        return it == names_.end() ? -1 : static_cast<short>(it - names_.begin());
    }
    std::string GetName(short index) override
    {
        owner_.record(callText((kind_ + ".GetName").c_str(), index));
        return index >= 0 && index < static_cast<short>(names_.size()) ? names_[static_cast<std::size_t>(index)] : "";
    }
    bool ShowPropertyPage(short index) override
    {
        owner_.record(callText((kind_ + ".ShowPropertyPage").c_str(), index));
        if (index < 0 || index >= static_cast<short>(names_.size()))
            return false;
        const std::string& name = names_[static_cast<std::size_t>(index)];
        return std::find(withPages_.begin(), withPages_.end(), name) != withPages_.end();
    }

private:
    ScriptedControl& owner_;
    std::string kind_;
    std::vector<std::string> names_;
    std::vector<std::string> withPages_;
};

class ScriptedProfiles : public IWmvProfileCollection {
public:
    ScriptedProfiles(ScriptedControl& owner, std::vector<std::string> names)
        : owner_(owner), names_(std::move(names))
    {
    }
    short GetCount() override
    {
        owner_.record("WmvProfiles.GetCount()");
        return static_cast<short>(names_.size());
    }
    std::string GetProfileName(short index) override
    {
        owner_.record(callText("WmvProfiles.GetProfileName", index));
        return index >= 0 && index < static_cast<short>(names_.size()) ? names_[static_cast<std::size_t>(index)] : "";
    }

private:
    ScriptedControl& owner_;
    std::vector<std::string> names_;
};

}  // namespace

ScriptedControl::ScriptedControl() = default;
ScriptedControl::ScriptedControl(Script script) : script_(std::move(script)) {}

std::vector<std::string> ScriptedControl::callsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& c : calls_) {
        if (c.rfind(prefix, 0) == 0)
            out.push_back(c);
    }
    return out;
}

void ScriptedControl::raiseDone() { if (sink_) sink_->OnConvertDone(); }
void ScriptedControl::raiseProgress(double done, double total) { if (sink_) sink_->OnConvertProgress(done, total); }
void ScriptedControl::raiseFailed(const std::string& reason) { if (sink_) sink_->OnConvertFailed(reason); }

void ScriptedControl::SetWmvProfile(short index) { record(callText("SetWmvProfile", index)); }
void ScriptedControl::SetVideoCompressor(short index) { record(callText("SetVideoCompressor", index)); }
void ScriptedControl::SetUseVideoCompressor(bool use) { record(callText("SetUseVideoCompressor", use)); }
void ScriptedControl::SetAudioCompressor(short index) { record(callText("SetAudioCompressor", index)); }
void ScriptedControl::SetUseAudioCompressor(bool use) { record(callText("SetUseAudioCompressor", use)); }
void ScriptedControl::SetOutputHeight(short height) { record(callText("SetOutputHeight", height)); }
void ScriptedControl::SetOutputWidth(short width) { record(callText("SetOutputWidth", width)); }
void ScriptedControl::SetOutputFormat(long format) { record(callText("SetOutputFormat", format)); }
void ScriptedControl::SetFrameRate(double fps) { record(callText("SetFrameRate", fps)); }
void ScriptedControl::SetVbrQuality(long quality) { record(callText("SetVbrQuality", quality)); }
void ScriptedControl::SetVbr(bool vbr) { record(callText("SetVbr", vbr)); }
void ScriptedControl::SetVideoBitRate(long kbps) { record(callText("SetVideoBitRate", kbps)); }
void ScriptedControl::SetAudioBitRate(long kbps) { record(callText("SetAudioBitRate", kbps)); }
void ScriptedControl::SetVideoCodec(short codec) { record(callText("SetVideoCodec", codec)); }
void ScriptedControl::SetQuality(long quality) { record(callText("SetQuality", quality)); }
void ScriptedControl::SetSpeed(short speed) { record(callText("SetSpeed", speed)); }
void ScriptedControl::SetSoundTrack(const std::string& track) { record(callText("SetSoundTrack", track)); }
void ScriptedControl::SetSubtitles(const std::string& subtitles) { record(callText("SetSubtitles", subtitles)); }
void ScriptedControl::SetSoftSubtitles(bool soft) { record(callText("SetSoftSubtitles", soft)); }
void ScriptedControl::SetStillSubtitles(const std::string& subtitles)
{
    record(callText("SetStillSubtitles", subtitles));
}

bool ScriptedControl::HasVideoCodec(short codec)
{
    const auto& codecs = script_.videoCodecs;
    return std::find(codecs.begin(), codecs.end(), codec) != codecs.end();
}

std::unique_ptr<IWmvProfileCollection> ScriptedControl::GetWmvProfiles()
{
    record("GetWmvProfiles()");
    return std::make_unique<ScriptedProfiles>(*this, script_.wmvProfiles);
}

std::unique_ptr<ICompressorCollection> ScriptedControl::GetVideoCompressors()
{
    record("GetVideoCompressors()");
    return std::make_unique<ScriptedCompressors>(*this, "VideoCompressors", script_.videoCompressors,
                                                 script_.compressorsWithPages);
}

std::unique_ptr<ICompressorCollection> ScriptedControl::GetAudioCompressors()
{
    record("GetAudioCompressors()");
    return std::make_unique<ScriptedCompressors>(*this, "AudioCompressors", script_.audioCompressors,
                                                 script_.compressorsWithPages);
}

void ScriptedControl::ClearClips() { record("ClearClips()"); }

bool ScriptedControl::AddVideoClip(const std::string& path, double start, double end, short keepSize)
{
    record(callText("AddVideoClip", path, start, end, keepSize));
    return script_.refusedClips.count(path) == 0;
}

bool ScriptedControl::AddAudioClip(const std::string& path, double start, double end)
{
    record(callText("AddAudioClip", path, start, end));
    return script_.refusedClips.count(path) == 0;
}

bool ScriptedControl::nextRunResult()
{
    if (!script_.convertResults.empty()) {
        const bool r = script_.convertResults.front();
        script_.convertResults.erase(script_.convertResults.begin());
        return r;
    }
    return script_.convertResult;
}

bool ScriptedControl::Convert(const std::string& outputPath)
{
    record(callText("Convert", outputPath));
    return nextRunResult();
}

bool ScriptedControl::Preview()
{
    record("Preview()");
    return script_.previewResult;
}

void ScriptedControl::Stop() { record("Stop()"); }

double ScriptedControl::GetDuration(const std::string& path)
{
    record(callText("GetDuration", path));
    auto it = script_.durations.find(path);
    return it == script_.durations.end() ? 0.0 : it->second;
}

short ScriptedControl::GetVideoWidth(const std::string& path)
{
    record(callText("GetVideoWidth", path));
    auto it = script_.sizes.find(path);
    return it == script_.sizes.end() ? 0 : it->second.first;
}

short ScriptedControl::GetVideoHeight(const std::string& path)
{
    record(callText("GetVideoHeight", path));
    auto it = script_.sizes.find(path);
    return it == script_.sizes.end() ? 0 : it->second.second;
}

std::vector<SourceTrack> ScriptedControl::GetTracks(const std::string& path)
{
    auto it = script_.tracks.find(path);
    return it == script_.tracks.end() ? std::vector<SourceTrack>() : it->second;
}

bool ScriptedControl::SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath)
{
    record(callText("SaveFrame", mediaPath, time, bitmapPath));
    return script_.saveFrameResult;
}

bool ScriptedControl::SaveFrameSized(const std::string& mediaPath, double time, const std::string& bitmapPath,
                                     short width, short height)
{
    record(callText("SaveFrameSized", mediaPath, time, bitmapPath, width, height));
    return script_.saveFrameResult;
}

bool ScriptedControl::SaveAudioAsWma(const std::string& outputPath)
{
    record(callText("SaveAudioAsWma", outputPath));
    return nextRunResult();
}

bool ScriptedControl::SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                                     short bytesPerSample)
{
    record(callText("SaveAudioAsWav", outputPath, channels, sampleRate, bytesPerSample));
    return nextRunResult();
}
