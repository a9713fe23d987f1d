// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dudidevar/preview/PulseOwners.h"

class PreviewAudioBuffer;

// The preview's sound on the sound server's default output, pulled from a buffer that the
// decoding thread fills. Its played time is the preview's clock. The connection to the server
// is this object's own and lasts from start() to stop(): nothing of it is left open for the
// end of the process.
class PreviewAudioOutput {
public:
    // The sound is handed over as signed 16-bit interleaved samples of this rate and channel
    // count; the server converts it for its device.
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    explicit PreviewAudioOutput(PreviewAudioBuffer& buffer) : buffer_(buffer) {}
    ~PreviewAudioOutput();
    PreviewAudioOutput(const PreviewAudioOutput&) = delete;
    PreviewAudioOutput& operator=(const PreviewAudioOutput&) = delete;

    // Connects and starts playing; false, with nothing left open, when there is no sound server
    // or it refuses the stream. Never starts a server.
    bool start();
    // Stops playing and closes the connection.
    void stop();
    // Seconds of the buffer's sound played so far (the silence played while the buffer ran dry
    // does not count).
    double playedSeconds() const;

private:
    bool open();
    bool connectContext();
    bool connectStream();
    static void onWritable(pa_stream* stream, std::size_t bytes, void* output);
    static void onUnderflow(pa_stream* stream, void* output);
    void write(std::size_t bytes);

    PreviewAudioBuffer& buffer_;
    // Declared in the order they are made: the stream goes first, the loop last.
    pulse::Mainloop mainloop_;
    pulse::Context context_;
    pulse::Stream stream_;
    std::vector<char> chunk_;  // used on the loop's thread only
    bool allWritten_ = false;  // likewise
    std::atomic<std::int64_t> writtenBytes_{0};
    std::atomic<std::int64_t> silenceBytes_{0};
    std::atomic<bool> allPlayed_{false};
};
