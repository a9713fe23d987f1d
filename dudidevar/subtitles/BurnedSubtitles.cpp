// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/BurnedSubtitles.h"

#include <algorithm>
#include <cmath>

#include "dudidevar/subtitles/SubtitleBlender.h"

namespace {

// libass's own messages mean nothing to a user; failures are reported in words instead.
void quiet(int, const char*, va_list, void*) {}

// An event libass draws differently from one moment to the next while it is shown: a moving,
// fading, transforming or karaoke line, or a scrolling effect. `line` is the event as libass
// takes it: ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text.
bool changesWhileShown(const std::string& line)
{
    std::size_t comma = std::string::npos;  // the one before the Effect field
    for (int n = 0; n < 7; ++n) {
        comma = line.find(',', comma + 1);
        if (comma == std::string::npos)
            return true;
    }
    if (line.compare(comma + 1, 1, ",") != 0)
        return true;
    for (const char* tag : {"\\t(", "\\move", "\\fad", "\\k", "\\K"}) {
        if (line.find(tag, comma) != std::string::npos)
            return true;
    }
    return false;
}

// The events shown at that millisecond, as libass times them.
std::vector<std::size_t> eventsShownAt(const SubtitleEvents& subtitles, std::int64_t ms)
{
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < subtitles.events.size(); ++i) {
        const SubtitleEvent& e = subtitles.events[i];
        const std::int64_t start = std::llround(e.start * 1000.0);
        if (start <= ms && ms < start + std::llround((e.end - e.start) * 1000.0))
            shown.push_back(i);
    }
    return shown;
}

}  // namespace

bool BurnedSubtitles::open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                           const std::map<std::string, AVFormatContext*>& probed, const PicturePlan& plan,
                           std::string* error)
{
    scripts_.clear();
    rendered_ = {};
    if (choice.from == SubtitleChoice::From::None || clips.empty())
        return sources_.open(choice, clips, probed, error);
    if (!SubtitleBlender::canDraw(plan.pixelFormat))
        return *error = "subtitles cannot be drawn on pictures of this output's compressor", false;
    sampleAspect_ = plan.sampleAspect.num > 0 && plan.sampleAspect.den > 0 ? av_q2d(plan.sampleAspect) : 1.0;
    if (!sources_.open(choice, clips, probed, error))
        return false;
    for (const SubtitleSources::Span& span : sources_.spans()) {
        if (span.layer && span.layer->loaded && span.layer->text && !scripts_.count(span.layer) &&
            !makeScript(*span.layer, error))
            return false;
    }
    return true;
}

bool BurnedSubtitles::startRenderer(std::string* error)
{
    if (renderer_)
        return true;
    library_.reset(ass_library_init());
    if (!library_)
        return *error = "the subtitle renderer cannot be started", false;
    ass_set_message_cb(library_.get(), quiet, nullptr);
    renderer_.reset(ass_renderer_init(library_.get()));
    if (!renderer_)
        return *error = "the subtitle renderer cannot be started", false;
    ass_set_fonts(renderer_.get(), nullptr, "sans-serif", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
    return true;
}

bool BurnedSubtitles::makeScript(const Layer& layer, std::string* error)
{
    if (!startRenderer(error))
        return false;
    Script& script = scripts_[&layer];
    script.track.reset(ass_new_track(library_.get()));
    if (!script.track)
        return *error = "out of memory", false;
    std::string header = layer.subtitles.header;
    ass_process_codec_private(script.track.get(), header.data(), int(header.size()));
    for (const SubtitleEvent& event : layer.subtitles.events) {
        script.moving.push_back(changesWhileShown(event.line));
        std::string line = event.line;
        ass_process_chunk(script.track.get(), line.data(), int(line.size()), std::llround(event.start * 1000.0),
                          std::llround((event.end - event.start) * 1000.0));
    }
    return true;
}

bool BurnedSubtitles::draw(AVFrame* frame, double seconds, const PicturePlacement& picture, std::string* error)
{
    const SubtitleSources::Span* span = sources_.spanAt(seconds);
    if (!span || !span->layer || picture.width <= 0 || picture.height <= 0)
        return true;
    Layer& layer = *span->layer;
    if (!layer.loaded && !SubtitleSources::load(layer, error))
        return false;
    if (layer.subtitles.text && !scripts_.count(&layer) && !makeScript(layer, error))
        return false;
    const double time = span->clip.start + (seconds - span->offset);
    if (layer.subtitles.text)
        return drawText(layer, frame, time, picture, error);
    return drawPictures(layer, frame, time, picture, error);
}

bool BurnedSubtitles::drawText(const Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture,
                               std::string* error)
{
    const ASS_Image* image = textImages(layer, std::llround(time * 1000.0), picture);
    if (!image)
        return true;
    if (av_frame_make_writable(frame) < 0)
        return *error = "out of memory", false;
    SubtitleBlender blender(*frame, picture);
    for (; image; image = image->next) {
        blender.blendMask(picture.x + image->dst_x, picture.y + image->dst_y, image->w, image->h, image->bitmap,
                          image->stride, image->color >> 8, 255 - int(image->color & 0xff));
    }
    return true;
}

// The same lines, standing still, are drawn once and laid over each frame while they show.
const ASS_Image* BurnedSubtitles::textImages(const Layer& layer, std::int64_t ms, const PicturePlacement& picture)
{
    std::vector<std::size_t> shown = eventsShownAt(layer.subtitles, ms);
    if (shown.empty())
        return nullptr;
    const std::vector<bool>& moving = scripts_.at(&layer).moving;
    const bool still = std::none_of(shown.begin(), shown.end(), [&](std::size_t i) { return moving[i]; });
    if (still && rendered_.layer == &layer && rendered_.events == shown && rendered_.width == picture.width &&
        rendered_.height == picture.height)
        return rendered_.images;
    ASS_Renderer* renderer = renderer_.get();
    ass_set_frame_size(renderer, picture.width, picture.height);
    ass_set_storage_size(renderer, picture.width, picture.height);
    ass_set_pixel_aspect(renderer, sampleAspect_);
    int changed = 0;
    const ASS_Image* images = ass_render_frame(renderer, scripts_.at(&layer).track.get(), ms, &changed);
    rendered_ = {&layer, std::move(shown), picture.width, picture.height, images};
    return images;
}

bool BurnedSubtitles::drawPictures(const Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture,
                                   std::string* error)
{
    const SubtitleEvents& s = layer.subtitles;
    const int canvasWidth = s.canvasWidth > 0 ? s.canvasWidth : layer.pictureWidth;
    const int canvasHeight = s.canvasHeight > 0 ? s.canvasHeight : layer.pictureHeight;
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return true;
    bool writable = false;
    for (const SubtitleEvent& event : s.events) {
        if (time < event.start || time >= event.end || event.pixels.empty())
            continue;
        if (!writable && av_frame_make_writable(frame) < 0)
            return *error = "out of memory", false;
        writable = true;
        const double sx = double(picture.width) / canvasWidth;
        const double sy = double(picture.height) / canvasHeight;
        const PicturePlacement to{picture.x + int(std::lround(event.x * sx)), picture.y + int(std::lround(event.y * sy)),
                                  std::max(1, int(std::lround(event.width * sx))),
                                  std::max(1, int(std::lround(event.height * sy)))};
        SubtitleBlender(*frame, picture).blendPicture(event.pixels.data(), event.width, event.height, to);
    }
    return true;
}
