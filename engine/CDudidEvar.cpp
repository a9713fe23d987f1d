// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CDudidEvar.h"

#include "engine/ControlClassRegistry.h"

CDudidEvar::CDudidEvar(QObject* parent) : QObject(parent) {}

CDudidEvar::~CDudidEvar()
{
    if (control_)
        control_->SetEventSink(nullptr);
}

bool CDudidEvar::Create(const std::string& classId, QWidget* parentWidget)
{
    auto control = ControlClassRegistry::instance().create(classId, parentWidget);
    if (!control)
        return false;
    Attach(std::move(control));
    return true;
}

void CDudidEvar::Attach(std::unique_ptr<IConversionControl> control)
{
    threads_.waitForAll();
    if (control_)
        control_->SetEventSink(nullptr);
    control_ = std::move(control);
    if (control_)
        control_->SetEventSink(this);
}

QWidget* CDudidEvar::Widget() const
{
    return control_ ? control_->Widget() : nullptr;
}

void CDudidEvar::SetWmvProfile(short index) { if (control_) control_->SetWmvProfile(index); }
void CDudidEvar::SetVideoCompressor(short index) { if (control_) control_->SetVideoCompressor(index); }
void CDudidEvar::SetUseVideoCompressor(bool use) { if (control_) control_->SetUseVideoCompressor(use); }
void CDudidEvar::SetAudioCompressor(short index) { if (control_) control_->SetAudioCompressor(index); }
void CDudidEvar::SetUseAudioCompressor(bool use) { if (control_) control_->SetUseAudioCompressor(use); }
void CDudidEvar::SetOutputHeight(short height) { if (control_) control_->SetOutputHeight(height); }
void CDudidEvar::SetOutputWidth(short width) { if (control_) control_->SetOutputWidth(width); }
void CDudidEvar::SetOutputFormat(long format) { if (control_) control_->SetOutputFormat(format); }
void CDudidEvar::SetFrameRate(double fps) { if (control_) control_->SetFrameRate(fps); }
void CDudidEvar::SetVbrQuality(long quality) { if (control_) control_->SetVbrQuality(quality); }
void CDudidEvar::SetVbr(bool vbr) { if (control_) control_->SetVbr(vbr); }
void CDudidEvar::SetVideoBitRate(long kbps) { if (control_) control_->SetVideoBitRate(kbps); }
void CDudidEvar::SetAudioBitRate(long kbps) { if (control_) control_->SetAudioBitRate(kbps); }
void CDudidEvar::SetVideoCodec(short codec) { if (control_) control_->SetVideoCodec(codec); }
void CDudidEvar::SetQuality(long quality) { if (control_) control_->SetQuality(quality); }
void CDudidEvar::SetSpeed(short speed) { if (control_) control_->SetSpeed(speed); }
void CDudidEvar::SetSoundTrack(const std::string& track) { if (control_) control_->SetSoundTrack(track); }
void CDudidEvar::SetSubtitles(const std::string& subtitles) { if (control_) control_->SetSubtitles(subtitles); }
void CDudidEvar::SetSoftSubtitles(bool soft) { if (control_) control_->SetSoftSubtitles(soft); }
void CDudidEvar::SetStillSubtitles(const std::string& subtitles)
{
    if (control_)
        control_->SetStillSubtitles(subtitles);
}
bool CDudidEvar::HasVideoCodec(short codec) { return control_ && control_->HasVideoCodec(codec); }

CWmvProfileList CDudidEvar::GetWmvProfiles()
{
    return CWmvProfileList(control_ ? control_->GetWmvProfiles() : nullptr);
}

CCompressorList CDudidEvar::GetVideoCompressors()
{
    return CCompressorList(control_ ? control_->GetVideoCompressors() : nullptr);
}

CCompressorList CDudidEvar::GetAudioCompressors()
{
    return CCompressorList(control_ ? control_->GetAudioCompressors() : nullptr);
}

void CDudidEvar::ClearClips() { if (control_) control_->ClearClips(); }

bool CDudidEvar::AddVideoClip(const std::string& path, double start, double end, short keepSize)
{
    return control_ && control_->AddVideoClip(path, start, end, keepSize);
}

bool CDudidEvar::AddAudioClip(const std::string& path, double start, double end)
{
    return control_ && control_->AddAudioClip(path, start, end);
}

bool CDudidEvar::Convert(const std::string& outputPath)
{
    return control_ && control_->Convert(outputPath);
}

bool CDudidEvar::Preview() { return control_ && control_->Preview(); }
void CDudidEvar::Stop() { if (control_) control_->Stop(); }

double CDudidEvar::GetDuration(const std::string& path)
{
    return control_ ? control_->GetDuration(path) : 0.0;
}

short CDudidEvar::GetVideoWidth(const std::string& path)
{
    return control_ ? control_->GetVideoWidth(path) : 0;
}

short CDudidEvar::GetVideoHeight(const std::string& path)
{
    return control_ ? control_->GetVideoHeight(path) : 0;
}

std::vector<SourceTrack> CDudidEvar::GetTracks(const std::string& path)
{
    return control_ ? control_->GetTracks(path) : std::vector<SourceTrack>();
}

bool CDudidEvar::SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath)
{
    return control_ && control_->SaveFrame(mediaPath, time, bitmapPath);
}

bool CDudidEvar::SaveFrameSized(const std::string& mediaPath, double time,
                                const std::string& bitmapPath, short width, short height)
{
    return control_ && control_->SaveFrameSized(mediaPath, time, bitmapPath, width, height);
}

bool CDudidEvar::SaveAudioAsWma(const std::string& outputPath)
{
    return control_ && control_->SaveAudioAsWma(outputPath);
}

bool CDudidEvar::SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                                short bytesPerSample)
{
    return control_ && control_->SaveAudioAsWav(outputPath, channels, sampleRate, bytesPerSample);
}

void CDudidEvar::RunOffThread(std::function<void()> work)
{
    threads_.start(std::move(work));
}

std::string CDudidEvar::GetLastError()
{
    return control_ ? control_->GetLastError() : std::string("the conversion control is missing");
}

void CDudidEvar::OnConvertDone() { emit convertDone(); }

void CDudidEvar::OnConvertProgress(double secondsDone, double totalSeconds)
{
    emit convertProgress(secondsDone, totalSeconds);
}

void CDudidEvar::OnConvertFailed(const std::string& reason)
{
    emit convertFailed(QString::fromStdString(reason));
}
