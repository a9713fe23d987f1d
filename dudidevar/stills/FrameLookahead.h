// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "dudidevar/base/BoundedQueue.h"
#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/stills/FrameGrabber.h"
#include "dudidevar/stills/GrabbedFrame.h"

// Takes the pictures of a video that FrameGrabber finds, and guesses the next ones: once a file
// was asked for at two rising times, the pictures that follow at the same step are decoded on a
// thread of its own, a few ahead, while the caller writes the last one. A call that breaks the
// step stops that thread and is answered on the calling thread; so is every call before.
class FrameLookahead {
public:
    // Pictures decoded ahead and waiting; each holds one decoded frame.
    static constexpr std::size_t kPicturesAhead = 2;

    FrameLookahead();
    ~FrameLookahead();
    FrameLookahead(const FrameLookahead&) = delete;
    FrameLookahead& operator=(const FrameLookahead&) = delete;

    // The frame displayed at `seconds` from the start of the file, as FrameGrabber::frameAt.
    GrabbedFrame take(const std::string& path, double seconds);
    // Stops decoding ahead and closes the file.
    void close();

    // Whether a thread decodes ahead. Meanwhile only the grabber's counts may be read, and they
    // go on rising.
    bool decodingAhead() const { return thread_.joinable(); }
    const FrameGrabber& grabber() const { return grabber_; }

private:
    struct Ahead {
        std::int64_t micro = 0;  // the time it was taken at, in whole microseconds
        GrabbedFrame picture;
    };

    GrabbedFrame grab(const std::string& path, double seconds);
    bool takeAhead(const std::string& path, double seconds, GrabbedFrame* picture);
    void startAhead(const std::string& path, double from, double step);
    void stopAhead();
    void decodeAhead(BoundedQueue<Ahead>& queue, const std::string& path, double from, double step);
    double aheadTime(int index) const { return aheadFrom_ + index * aheadStep_; }
    bool beyondEnd(double seconds) const;

    FrameGrabber grabber_;  // used by the thread while it runs, by the caller otherwise

    std::atomic<bool> stop_{false};
    std::unique_ptr<BoundedQueue<Ahead>> queue_;
    std::thread thread_;
    std::string aheadPath_;
    double aheadFrom_ = 0.0;
    double aheadStep_ = 0.0;
    int aheadIndex_ = 0;  // of the next picture the thread hands over

    std::string lastPath_;
    double lastSeconds_ = 0.0;
};
