#pragma once

#include <string>
#include <thread>
#include <vector>

#include "dudidevar/base/BoundedQueue.h"
#include "dudidevar/base/FfmpegOwners.h"

class AudioTrack;
class OutputWriter;

// The sound of a run decoded, converted and encoded on a thread of its own, its packets waiting
// in time order for the thread that writes the file. The thread starts at the priority of the
// thread that starts it.
class SoundStage {
public:
    // Throws std::system_error when the thread cannot be started.
    SoundStage(AudioTrack& track, OutputWriter& writer);
    // Stops the thread and waits for it.
    ~SoundStage();
    SoundStage(const SoundStage&) = delete;
    SoundStage& operator=(const SoundStage&) = delete;

    // The next packet of the output's sound stream; null at the end of the sound (error left
    // empty) or with the reason when it failed.
    ff::Packet next(std::string* error);

private:
    void encode();
    bool pass(std::vector<ff::Packet>& packets);

    AudioTrack& track_;
    OutputWriter& writer_;
    BoundedQueue<ff::Packet> packets_;
    std::thread thread_;
};
