// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/PictureFitter.h"

#include "dudidevar/base/CodecThreads.h"
#include "dudidevar/picture/PictureGeometry.h"
#include "dudidevar/source/SourceShape.h"

void PictureFitter::setOutput(const PicturePlan& plan)
{
    plan_ = plan;
    scaler_.setThreads(CodecThreads::forScaler(plan.height, CodecThreads::cores()));
}

ff::Frame PictureFitter::fit(const Due& due, std::string* error)
{
    if ((due.source || !picture_) && !fitNew(due, error))
        return nullptr;
    ff::Frame out = ff::makeFrame();
    if (!out || av_frame_ref(out.get(), picture_.get()) < 0) {
        *error = "out of memory";
        return nullptr;
    }
    out->pts = due.index;
    const double seconds = double(due.index) * plan_.frameRate.den / plan_.frameRate.num;
    if (overlay_ && !overlay_->draw(out.get(), seconds, placement_, error))
        return nullptr;
    return out;
}

bool PictureFitter::fitNew(const Due& due, std::string* error)
{
    if (!due.source) {
        *error = "there is no picture to show from " + due.path;
        return false;
    }
    const AVFrame& shown = *due.source;
    const SourceShape shape{shown.width, shown.height, {}, due.sampleAspect, due.rotation};
    const AVFrame* upright = turner_.turn(shown, due.rotation, error);
    if (!upright) {
        *error = due.path + ": " + *error;
        return false;
    }
    const PicturePlacement where =
        PictureGeometry::place(PictureGeometry::displayAspect(shape), plan_.width, plan_.height, plan_.sampleAspect);
    ff::Frame picture = scaler_.scale(*upright, plan_.width, plan_.height, plan_.pixelFormat, where, SWS_BICUBIC);
    if (!picture) {
        *error = "cannot scale the picture of " + due.path;
        return false;
    }
    picture->sample_aspect_ratio = plan_.sampleAspect;
    picture_ = std::move(picture);
    placement_ = where;
    return true;
}
