#include "dudidevar/PictureTurner.h"

#include <cstdio>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

const AVFrame* PictureTurner::turn(const AVFrame& picture, int rotation, std::string* error)
{
    if (rotation != 90 && rotation != 180 && rotation != 270)
        return &picture;
    const bool changed = picture.width != width_ || picture.height != height_ || picture.format != format_ ||
                         rotation != rotation_;
    if ((changed || !graph_) && !setUp(picture, rotation, error))
        return nullptr;
    av_frame_unref(turned_.get());
    if (av_buffersrc_write_frame(source_, &picture) < 0 || av_buffersink_get_frame(sink_, turned_.get()) < 0) {
        *error = "cannot turn the picture upright";
        return nullptr;
    }
    return turned_.get();
}

bool PictureTurner::addStep(const char* filter, const char* arguments, AVFilterContext** last)
{
    AVFilterContext* step = nullptr;
    if (avfilter_graph_create_filter(&step, avfilter_get_by_name(filter), filter, arguments, nullptr,
                                     graph_.get()) < 0 ||
        avfilter_link(*last, 0, step, 0) < 0)
        return false;
    *last = step;
    return true;
}

bool PictureTurner::setUp(const AVFrame& picture, int rotation, std::string* error)
{
    graph_.reset(avfilter_graph_alloc());
    turned_ = ff::makeFrame();
    width_ = 0;
    if (!graph_ || !turned_) {
        *error = "out of memory";
        return false;
    }
    graph_->nb_threads = 1;
    char source[160];
    std::snprintf(source, sizeof source, "video_size=%dx%d:pix_fmt=%d:time_base=1/25:pixel_aspect=1/1", picture.width,
                  picture.height, picture.format);
    AVFilterContext* last = nullptr;
    bool built = avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", source, nullptr,
                                              graph_.get()) >= 0 &&
                 avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                              graph_.get()) >= 0;
    last = source_;
    if (built && rotation == 180)
        built = addStep("hflip", nullptr, &last) && addStep("vflip", nullptr, &last);
    else if (built)
        built = addStep("transpose", rotation == 90 ? "dir=clock" : "dir=cclock", &last);
    built = built && avfilter_link(last, 0, sink_, 0) >= 0 && avfilter_graph_config(graph_.get(), nullptr) >= 0;
    if (!built) {
        graph_.reset();
        *error = "cannot set up turning the picture upright";
        return false;
    }
    width_ = picture.width;
    height_ = picture.height;
    format_ = picture.format;
    rotation_ = rotation;
    return true;
}
