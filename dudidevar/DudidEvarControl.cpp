#include "dudidevar/DudidEvarControl.h"

#include <QPalette>

#include "dudidevar/ControlCollections.h"
#include "dudidevar/MediaProbe.h"
#include "dudidevar/RunHost.h"

namespace {

QWidget* makeBlackSurface(QWidget* parent)
{
    auto* surface = new QWidget(parent);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, Qt::black);
    surface->setPalette(palette);
    surface->setAutoFillBackground(true);
    return surface;
}

short toShort(int value)
{
    return value > 0x7fff ? short(0x7fff) : short(value);
}

}  // namespace

DudidEvarControl::DudidEvarControl(QWidget* parent)
    : widget_(makeBlackSurface(parent)), runs_(std::make_unique<RunHost>())
{
}

DudidEvarControl::~DudidEvarControl()
{
    runs_->stop();
    delete widget_.data();
}

QWidget* DudidEvarControl::Widget() { return widget_.data(); }
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
    videoClips_.clear();
    audioClips_.clear();
}

bool DudidEvarControl::AddVideoClip(const std::string& path, double start, double end, short keepSize)
{
    if (path.empty() || !(end > start) || start < 0)
        return false;
    videoClips_.push_back({path, start, end, keepSize != 0});
    return true;
}

bool DudidEvarControl::AddAudioClip(const std::string& path, double start, double end)
{
    if (path.empty() || !(end > start) || start < 0)
        return false;
    audioClips_.push_back({path, start, end, false});
    return true;
}

bool DudidEvarControl::Convert(const std::string& outputPath)
{
    (void)outputPath;
    return false;
}

bool DudidEvarControl::Preview()
{
    return false;
}

void DudidEvarControl::Stop()
{
    runs_->stop();
}

double DudidEvarControl::GetDuration(const std::string& path)
{
    return MediaProbe::facts(path).duration;
}

short DudidEvarControl::GetVideoWidth(const std::string& path)
{
    return toShort(MediaProbe::facts(path).width);
}

short DudidEvarControl::GetVideoHeight(const std::string& path)
{
    return toShort(MediaProbe::facts(path).height);
}

bool DudidEvarControl::SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath)
{
    (void)mediaPath;
    (void)time;
    (void)bitmapPath;
    return false;
}

bool DudidEvarControl::SaveFrameSized(const std::string& mediaPath, double time,
                                      const std::string& bitmapPath, short width, short height)
{
    (void)mediaPath;
    (void)time;
    (void)bitmapPath;
    (void)width;
    (void)height;
    return false;
}

bool DudidEvarControl::SaveAudioAsWma(const std::string& outputPath)
{
    (void)outputPath;
    return false;
}

bool DudidEvarControl::SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                                      short bytesPerSample)
{
    (void)outputPath;
    (void)channels;
    (void)sampleRate;
    (void)bytesPerSample;
    return false;
}
