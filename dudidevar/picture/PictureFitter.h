// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/picture/PictureOverlay.h"
#include "dudidevar/picture/PictureTurner.h"
#include "dudidevar/picture/PlacedScaler.h"

// Makes output frames of a picture track: each source picture turned upright and fitted into
// the frame at its shape, once, and the same picture handed out again while the source has no
// newer one.
class PictureFitter {
public:
    // A source picture due at one output frame.
    struct Due {
        std::int64_t index = 0;  // the output frame's number
        ff::Frame source;        // null: the previous source picture is still the one shown
        AVRational sampleAspect{0, 1};
        int rotation = 0;
        std::string path;  // the picture's file, for reasons
    };

    void setOutput(const PicturePlan& plan);
    // Drawn over every output frame from then on (null: nothing); not owned.
    void setOverlay(PictureOverlay* overlay) { overlay_ = overlay; }
    // The output frame (pts = its number); null with the reason when it cannot be made.
    ff::Frame fit(const Due& due, std::string* error);

private:
    bool fitNew(const Due& due, std::string* error);

    PicturePlan plan_;
    ff::Frame picture_;  // the last fitted picture
    PicturePlacement placement_;  // where the last fitted picture lies in the frame
    PictureOverlay* overlay_ = nullptr;
    PictureTurner turner_;
    PlacedScaler scaler_;
};
