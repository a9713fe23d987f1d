// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owners for the sound server client's objects. The context and stream owners must be freed
// while the event loop's thread is stopped (or its lock held): their library calls touch the
// loop's state, which that thread also changes.

#include <pulse/pulseaudio.h>

#include <memory>

namespace pulse {

// Freeing a threaded loop stops its thread first.
struct MainloopDeleter {
    void operator()(pa_threaded_mainloop* mainloop) const { pa_threaded_mainloop_free(mainloop); }
};
struct ContextDeleter {
    void operator()(pa_context* context) const
    {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
};
// The stream ends with its context's connection.
struct StreamDeleter {
    void operator()(pa_stream* stream) const
    {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_unref(stream);
    }
};

using Mainloop = std::unique_ptr<pa_threaded_mainloop, MainloopDeleter>;
using Context = std::unique_ptr<pa_context, ContextDeleter>;
using Stream = std::unique_ptr<pa_stream, StreamDeleter>;

// Holds a threaded loop's lock for a scope, keeping its thread out of the client's objects.
class MainloopLock {
public:
    explicit MainloopLock(pa_threaded_mainloop* mainloop) : mainloop_(mainloop) { pa_threaded_mainloop_lock(mainloop_); }
    ~MainloopLock() { pa_threaded_mainloop_unlock(mainloop_); }
    MainloopLock(const MainloopLock&) = delete;
    MainloopLock& operator=(const MainloopLock&) = delete;

private:
    pa_threaded_mainloop* mainloop_;
};

}  // namespace pulse
