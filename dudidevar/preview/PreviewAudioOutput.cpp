// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewAudioOutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <atomic>
#include <cstring>

#include "dudidevar/preview/PreviewAudioBuffer.h"

namespace {
constexpr int kPreferredRate = 44100;
constexpr int kPreferredChannels = 2;
// A short device buffer keeps what the sink has taken close to what has been heard.
constexpr qint64 kDeviceBufferUs = 100000;
}  // namespace

// Hands the sink what the buffer holds; while the buffer runs dry it plays silence, which it
// counts so that the clock does not run ahead of the sound.
class PreviewAudioOutput::Reader : public QIODevice {
public:
    explicit Reader(PreviewAudioBuffer& buffer) : buffer_(buffer) {}

    bool isSequential() const override { return true; }
    qint64 silenceBytes() const { return silenceBytes_.load(); }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        const auto count = qint64(buffer_.read(data, std::size_t(size)));
        if (count == size || buffer_.finished())
            return count;
        std::memset(data + count, 0, std::size_t(size - count));
        silenceBytes_ += size - count;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    PreviewAudioBuffer& buffer_;
    std::atomic<qint64> silenceBytes_{0};
};

std::optional<QAudioFormat> PreviewAudioOutput::defaultFormat()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return std::nullopt;
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(kPreferredRate);
    format.setChannelCount(kPreferredChannels);
    if (device.isFormatSupported(format))
        return format;
    const QAudioFormat preferred = device.preferredFormat();
    format.setSampleRate(preferred.sampleRate());
    format.setChannelCount(std::clamp(preferred.channelCount(), 1, 2));
    if (device.isFormatSupported(format))
        return format;
    return std::nullopt;
}

PreviewAudioOutput::PreviewAudioOutput(const QAudioFormat& format, PreviewAudioBuffer& buffer)
    : format_(format), reader_(std::make_unique<Reader>(buffer)),
      sink_(std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format))
{
}

PreviewAudioOutput::~PreviewAudioOutput()
{
    stop();
}

bool PreviewAudioOutput::start()
{
    if (!reader_->open(QIODevice::ReadOnly))
        return false;
    sink_->setBufferSize(format_.bytesForDuration(kDeviceBufferUs));
    sink_->start(reader_.get());
    return sink_->error() == QAudio::NoError;
}

void PreviewAudioOutput::stop()
{
    sink_->stop();
    reader_->close();
}

double PreviewAudioOutput::playedSeconds() const
{
    const double silence = format_.durationForBytes(qint32(std::min<qint64>(reader_->silenceBytes(), INT32_MAX)));
    // What the sink has taken but not yet played is still in its buffer.
    const qint64 buffered = std::max<qint64>(0, sink_->bufferSize() - sink_->bytesFree());
    const double waiting = format_.durationForBytes(qint32(std::min<qint64>(buffered, INT32_MAX)));
    return std::max(0.0, (double(sink_->processedUSecs()) - silence - waiting) / 1.0e6);
}
