#pragma once

#include <string>

#include "dudidevar/FfmpegOwners.h"

// Turns decoded pictures upright with the library's filters: a quarter turn either way, or a
// half turn. The filters are set up again when the pictures change size or format.
class PictureTurner {
public:
    // The picture turned `rotation` degrees clockwise (0, 90, 180, 270), or the picture itself
    // when there is nothing to turn. Valid until the next call; null with the reason on failure.
    const AVFrame* turn(const AVFrame& picture, int rotation, std::string* error);

private:
    bool setUp(const AVFrame& picture, int rotation, std::string* error);
    bool addStep(const char* filter, const char* arguments, AVFilterContext** last);

    ff::FilterGraph graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    ff::Frame turned_;
    int width_ = 0;
    int height_ = 0;
    int format_ = -1;
    int rotation_ = 0;
};
