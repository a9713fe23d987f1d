// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/stills/FrameBitmapWriter.h"
#include "dudidevar/stills/FrameLookahead.h"
#include "dudidevar/picture/PictureTurner.h"
#include "dudidevar/subtitles/BurnedSubtitles.h"

// The control's still pictures: the frame shown at a time of a video, written as a BMP file,
// turned upright and at the shape a player shows it (black bars where the size asked for has
// another shape).
// The last video stays open, so a run of pictures at rising times decodes the file only once,
// the next pictures of an even run while the last one is written. Pictures of one video at rising
// times are one run, which sweeps each folder it writes into once.
class FrameSaver {
public:
    // At the video's own picture size at square pixels.
    bool saveOriginalSize(const std::string& mediaPath, double seconds, const std::string& bitmapPath);
    // At width × height pixels.
    bool saveSized(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width,
                   int height);
    // Why the last picture was not written; empty after one that was.
    const std::string& lastError() const { return lastError_; }
    // The subtitles drawn onto the pictures from then on, as the control's caller names them
    // ("" none, the default); false with the reason for text that names none.
    bool chooseSubtitles(const std::string& subtitles);
    // Closes the open video; the next picture starts a new run.
    void close();

    const FrameGrabber& grabber() const { return pictures_.grabber(); }
    bool decodingAhead() const { return pictures_.decodingAhead(); }

private:
    bool save(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width, int height);

    bool fail(const std::string& reason);
    bool openSubtitles(const std::string& mediaPath, std::string* error);

    FrameLookahead pictures_;
    PictureTurner turner_;
    FrameBitmapWriter writer_;
    std::string subtitles_;
    std::string subtitlesOpenFor_;  // the video the subtitles were read for
    BurnedSubtitles burned_;
    std::string lastError_;
    // The video and the last time of the run of pictures being written.
    std::string runVideo_;
    double runTime_ = 0.0;
};
