// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAudioFormat>
#include <QObject>
#include <memory>
#include <optional>

class PreviewAudioBuffer;
class QAudioSink;
class QIODevice;

// The preview's sound on the machine's default output device, pulled from a buffer that the
// decoding thread fills. Its played time is the preview's clock.
class PreviewAudioOutput : public QObject {
    Q_OBJECT
public:
    // The 16-bit format the default device plays; none when the machine has no output device.
    static std::optional<QAudioFormat> defaultFormat();

    PreviewAudioOutput(const QAudioFormat& format, PreviewAudioBuffer& buffer);
    ~PreviewAudioOutput() override;

    bool start();
    void stop();
    // Seconds of the buffer's sound played so far (the silence played while the buffer ran dry
    // does not count).
    double playedSeconds() const;

private:
    class Reader;

    QAudioFormat format_;
    std::unique_ptr<Reader> reader_;
    std::unique_ptr<QAudioSink> sink_;
};
