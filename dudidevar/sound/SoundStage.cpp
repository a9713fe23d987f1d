// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/sound/SoundStage.h"

#include "dudidevar/sound/SoundTrack.h"

#include <new>
#include <pthread.h>

namespace {

// About a second of sound at the common frame sizes: the picture side may take that long over
// one slow frame without the sound having to wait.
constexpr std::size_t kPacketsAhead = 48;

}  // namespace

SoundStage::SoundStage(SoundTrack& track, StreamEncoder& encoder)
    : track_(track), sound_(track, encoder), packets_(kPacketsAhead)
{
    thread_ = std::thread([this] {
        pthread_setname_np(pthread_self(), "sound encode");
        try {
            encode();
        } catch (const std::bad_alloc&) {
            packets_.close("out of memory");
        }
    });
}

SoundStage::~SoundStage()
{
    track_.stop();
    packets_.cancel();
    thread_.join();
}

ff::Packet SoundStage::next(std::string* error)
{
    std::optional<ff::Packet> packet = packets_.pop();
    if (packet)
        return std::move(*packet);
    *error = packets_.failure();
    return nullptr;
}

void SoundStage::encode()
{
    std::string error;
    while (ff::Packet packet = sound_.next(&error)) {
        if (!packets_.push(std::move(packet)))
            return;
    }
    packets_.close(error);
}
