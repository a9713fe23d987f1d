#include "dudidevar/sound/SoundStage.h"

#include <pthread.h>

#include "dudidevar/sound/AudioTrack.h"
#include "dudidevar/run/OutputWriter.h"

namespace {

// About a second of sound at the common frame sizes: the picture side may take that long over
// one slow frame without the sound having to wait.
constexpr std::size_t kPacketsAhead = 48;

}  // namespace

SoundStage::SoundStage(AudioTrack& track, OutputWriter& writer)
    : track_(track), writer_(writer), packets_(kPacketsAhead)
{
    thread_ = std::thread([this] {
        pthread_setname_np(pthread_self(), "sound encode");
        encode();
    });
}

SoundStage::~SoundStage()
{
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
    std::vector<ff::Packet> packets;
    while (!track_.finished()) {
        ff::Frame frame = track_.next(&error);
        if (!frame || !writer_.encodeSound(frame.get(), &packets, &error)) {
            packets_.close(error.empty() ? "the sound could not be made" : error);
            return;
        }
        if (!pass(packets))
            return;
    }
    if (!writer_.encodeSound(nullptr, &packets, &error)) {
        packets_.close(error);
        return;
    }
    if (pass(packets))
        packets_.close();
}

bool SoundStage::pass(std::vector<ff::Packet>& packets)
{
    for (ff::Packet& packet : packets) {
        if (!packets_.push(std::move(packet)))
            return false;
    }
    packets.clear();
    return true;
}
