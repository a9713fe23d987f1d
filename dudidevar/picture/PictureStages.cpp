// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PictureStages.h"

#include "dudidevar/picture/PictureTrack.h"

#include <algorithm>
#include <new>
#include <pthread.h>

namespace {

// Frames waiting between two stages: enough to ride over the encoder's uneven frames (a key
// frame, a seek, a frame that waits for later ones), as many as fit in a few megabytes of source
// pictures, so that a 4K run holds little more than it would without the stages.
constexpr std::size_t kFewestFramesBetweenStages = 3;
constexpr std::size_t kMostFramesBetweenStages = 8;
constexpr double kBytesBetweenStages = 16.0 * 1024 * 1024;

std::size_t framesBetweenStages(const SourceShape& source)
{
    const double pictureBytes = std::max(1, source.width) * std::max(1, source.height) * 1.5;  // 4:2:0
    return std::clamp(std::size_t(kBytesBetweenStages / pictureBytes), kFewestFramesBetweenStages,
                      kMostFramesBetweenStages);
}
// Memory that runs out on a stage's thread fails the run with this reason.
constexpr const char* kOutOfMemory = "out of memory";

}  // namespace

PictureStages::PictureStages(PictureTrack& track)
    : track_(track),
      due_(framesBetweenStages(track.sourceShape())),
      fitted_(framesBetweenStages(track.sourceShape()))
{
    decoding_ = std::thread([this] {
        pthread_setname_np(pthread_self(), "picture decode");
        try {
            decode();
        } catch (const std::bad_alloc&) {
            due_.close(kOutOfMemory);
        }
    });
    try {
        fitting_ = std::thread([this] {
            pthread_setname_np(pthread_self(), "picture fit");
            try {
                fit();
            } catch (const std::bad_alloc&) {
                due_.cancel();
                fitted_.close(kOutOfMemory);
            }
        });
    } catch (...) {
        due_.cancel();
        decoding_.join();
        throw;
    }
}

PictureStages::~PictureStages()
{
    track_.stop();
    fitted_.cancel();
    due_.cancel();
    decoding_.join();
    fitting_.join();
}

ff::Frame PictureStages::next(std::string* error)
{
    std::optional<ff::Frame> frame = fitted_.pop();
    if (frame)
        return std::move(*frame);
    *error = fitted_.failure();
    if (error->empty())
        *error = "the picture track has ended";
    return nullptr;
}

void PictureStages::decode()
{
    std::string error;
    while (!track_.finished()) {
        PictureFitter::Due due;
        if (!track_.nextDue(&due, &error)) {
            due_.close(error);
            return;
        }
        if (!due_.push(std::move(due)))
            return;
    }
    due_.close();
}

void PictureStages::fit()
{
    std::string error;
    while (std::optional<PictureFitter::Due> due = due_.pop()) {
        ff::Frame frame = track_.fitter().fit(*due, &error);
        if (!frame) {
            due_.cancel();
            fitted_.close(error);
            return;
        }
        if (!fitted_.push(std::move(frame))) {
            due_.cancel();
            return;
        }
    }
    fitted_.close(due_.failure());
}
