// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewAudioOutput.h"

#include <algorithm>
#include <cstring>

#include "dudidevar/preview/PreviewAudioBuffer.h"

namespace {
constexpr std::size_t kFrameBytes = 2 * PreviewAudioOutput::kChannels;
constexpr double kBytesPerSecond = double(kFrameBytes) * PreviewAudioOutput::kSampleRate;
// A short server buffer keeps what has been handed over close to what has been heard.
constexpr pa_usec_t kServerBufferUs = 100000;

const pa_sample_spec kSpec{PA_SAMPLE_S16NE, PreviewAudioOutput::kSampleRate, PreviewAudioOutput::kChannels};

// The loop's thread wakes the thread waiting in connectContext() or connectStream().
void signalLoop(pa_threaded_mainloop* mainloop)
{
    pa_threaded_mainloop_signal(mainloop, 0);
}
void onContextState(pa_context*, void* mainloop)
{
    signalLoop(static_cast<pa_threaded_mainloop*>(mainloop));
}
void onStreamState(pa_stream*, void* mainloop)
{
    signalLoop(static_cast<pa_threaded_mainloop*>(mainloop));
}

enum class Wait { Pending, Ready, Failed };

// Waits, with the loop's lock held, for the state callbacks' signals until `state` is no longer
// pending; true when it became ready.
template <typename State>
bool untilReady(pa_threaded_mainloop* mainloop, State state)
{
    for (Wait now = state(); now != Wait::Ready; now = state()) {
        if (now == Wait::Failed)
            return false;
        pa_threaded_mainloop_wait(mainloop);
    }
    return true;
}
}  // namespace

PreviewAudioOutput::~PreviewAudioOutput()
{
    stop();
}

bool PreviewAudioOutput::start()
{
    stop();
    allWritten_ = false;
    writtenBytes_ = 0;
    silenceBytes_ = 0;
    allPlayed_ = false;
    if (open())
        return true;
    stop();
    return false;
}

// The loop's thread ends before the stream and the context are let go, so that nothing else
// touches the loop while they take their events out of it.
void PreviewAudioOutput::stop()
{
    if (mainloop_)
        pa_threaded_mainloop_stop(mainloop_.get());
    stream_.reset();
    context_.reset();
    mainloop_.reset();
}

bool PreviewAudioOutput::open()
{
    mainloop_.reset(pa_threaded_mainloop_new());
    if (!mainloop_)
        return false;
    context_.reset(pa_context_new(pa_threaded_mainloop_get_api(mainloop_.get()), "Marvane preview"));
    if (!context_)
        return false;
    pa_context_set_state_callback(context_.get(), onContextState, mainloop_.get());
    if (pa_context_connect(context_.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    if (pa_threaded_mainloop_start(mainloop_.get()) < 0)
        return false;
    const pulse::MainloopLock lock(mainloop_.get());
    return connectContext() && connectStream();
}

// Waits, with the loop's lock held, until the server has taken the connection.
bool PreviewAudioOutput::connectContext()
{
    return untilReady(mainloop_.get(), [this] {
        const pa_context_state_t state = pa_context_get_state(context_.get());
        return state == PA_CONTEXT_READY ? Wait::Ready : PA_CONTEXT_IS_GOOD(state) ? Wait::Pending : Wait::Failed;
    });
}

// Opens the playback stream on the default output and waits, with the loop's lock held,
// until it plays.
bool PreviewAudioOutput::connectStream()
{
    stream_.reset(pa_stream_new(context_.get(), "Preview", &kSpec, nullptr));
    if (!stream_)
        return false;
    pa_stream_set_state_callback(stream_.get(), onStreamState, mainloop_.get());
    pa_stream_set_write_callback(stream_.get(), onWritable, this);
    pa_stream_set_underflow_callback(stream_.get(), onUnderflow, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.tlength = std::uint32_t(pa_usec_to_bytes(kServerBufferUs, &kSpec));
    attributes.prebuf = std::uint32_t(-1);
    attributes.minreq = std::uint32_t(-1);
    attributes.fragsize = std::uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                                         PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream_.get(), nullptr, &attributes, flags, nullptr, nullptr) < 0)
        return false;
    return untilReady(mainloop_.get(), [this] {
        const pa_stream_state_t state = pa_stream_get_state(stream_.get());
        return state == PA_STREAM_READY ? Wait::Ready : PA_STREAM_IS_GOOD(state) ? Wait::Pending : Wait::Failed;
    });
}

void PreviewAudioOutput::onWritable(pa_stream*, std::size_t bytes, void* output)
{
    static_cast<PreviewAudioOutput*>(output)->write(bytes);
}

// On the loop's thread: hands the server what the buffer holds. While the buffer runs dry it
// plays silence, which it counts so that the clock does not run ahead of the sound.
void PreviewAudioOutput::write(std::size_t bytes)
{
    bytes -= bytes % kFrameBytes;
    chunk_.resize(bytes);
    std::size_t count = buffer_.read(chunk_.data(), bytes);
    if (count < bytes && !buffer_.finished()) {
        std::memset(chunk_.data() + count, 0, bytes - count);
        silenceBytes_ += std::int64_t(bytes - count);
        count = bytes;
    }
    // Nothing to mend here when the server refuses a write: the clock stands still from then on,
    // and the player ends a preview whose clock stands still.
    if (count > 0 && pa_stream_write(stream_.get(), chunk_.data(), count, nullptr, 0, PA_SEEK_RELATIVE) == 0)
        writtenBytes_ += std::int64_t(count);
    if (count < bytes)
        allWritten_ = true;
}

// The server's clock stops a device buffer short of the end once the stream runs dry, so the
// end is known from the server's word that the stream ran dry after the last of the sound.
void PreviewAudioOutput::onUnderflow(pa_stream*, void* output)
{
    auto* self = static_cast<PreviewAudioOutput*>(output);
    if (self->allWritten_)
        self->allPlayed_ = true;
}

double PreviewAudioOutput::playedSeconds() const
{
    if (!stream_)
        return 0.0;
    const double silence = double(silenceBytes_.load()) / kBytesPerSecond;
    if (allPlayed_)
        return std::max(0.0, double(writtenBytes_.load()) / kBytesPerSecond - silence);
    pa_usec_t played = 0;
    {
        const pulse::MainloopLock lock(mainloop_.get());
        // Before the server's first timing report nothing has been heard yet.
        if (pa_stream_get_time(stream_.get(), &played) < 0)
            played = 0;
    }
    return std::max(0.0, double(played) / 1.0e6 - silence);
}
