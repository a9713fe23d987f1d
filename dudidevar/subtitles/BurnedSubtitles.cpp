// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/BurnedSubtitles.h"

#include <algorithm>
#include <cmath>

#include "dudidevar/base/RunNotices.h"
#include "dudidevar/source/ChosenStreams.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/StreamPicker.h"
#include "dudidevar/subtitles/SubtitleBlender.h"
#include "dudidevar/subtitles/SubtitleReader.h"

namespace {

// libass's own messages mean nothing to a user; failures are reported in words instead.
void quiet(int, const char*, va_list, void*) {}

int firstForcedTrack(const AVFormatContext* input)
{
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && (s->disposition & AV_DISPOSITION_FORCED))
            return int(i);
    }
    return -1;
}

// The size of a file's picture as stored: picture subtitles that give no canvas are placed on it.
void pictureSize(AVFormatContext* input, int* width, int* height)
{
    const int video = MediaProbe::bestStream(input, AVMEDIA_TYPE_VIDEO);
    *width = video >= 0 ? input->streams[video]->codecpar->width : 0;
    *height = video >= 0 ? input->streams[video]->codecpar->height : 0;
}

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
    layers_.clear();
    spans_.clear();
    if (choice.from == SubtitleChoice::From::None || clips.empty())
        return true;
    if (!SubtitleBlender::canDraw(plan.pixelFormat))
        return *error = "subtitles cannot be drawn on pictures of this output's compressor", false;
    sampleAspect_ = plan.sampleAspect.num > 0 && plan.sampleAspect.den > 0 ? av_q2d(plan.sampleAspect) : 1.0;
    if (!readLayers(choice, clips, probed, error))
        return false;
    double offset = 0.0;
    for (const Clip& clip : clips) {
        const auto found = layers_.find(clip.path);
        spans_.push_back({clip, offset, found == layers_.end() ? nullptr : found->second.get()});
        offset += clip.length();
    }
    return true;
}

bool BurnedSubtitles::readLayers(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                                 const std::map<std::string, AVFormatContext*>& probed, std::string* error)
{
    ChosenStreams chosen;
    if (choice.from == SubtitleChoice::From::Track &&
        !chosen.resolve(clips, AVMEDIA_TYPE_SUBTITLE, choice.track, probed, error))
        return false;
    for (const Clip& clip : clips) {
        if (layers_.count(clip.path) || (choice.from == SubtitleChoice::From::File && !layers_.empty()))
            continue;
        ff::InputContext input = MediaProbe::open(clip.path, error);
        if (!input)
            return false;
        auto layer = std::make_unique<Layer>();
        layer->path = clip.path;
        pictureSize(input.get(), &layer->pictureWidth, &layer->pictureHeight);
        if (choice.from == SubtitleChoice::From::File) {
            if (!SubtitleReader::readFile(choice.file, &layer->subtitles, error))
                return false;
            layer->loaded = true;
            if (layer->subtitles.text && !makeTrack(*layer, error))
                return false;
        } else if (choice.from == SubtitleChoice::From::Forced) {
            chooseForced(input.get(), layer.get());
        } else {
            layer->index = chosen.indexFor(clip.path);
        }
        if (layer->loaded || layer->index >= 0)
            layers_[clip.path] = std::move(layer);
        else if (choice.from == SubtitleChoice::From::Forced)
            RunNotices::say(clip.path + " has no subtitle tracks; it shows no subtitles");
    }
    return true;
}

// The track marked forced, else only the subtitles marked forced of the main subtitle track.
void BurnedSubtitles::chooseForced(AVFormatContext* input, Layer* layer) const
{
    const int forced = firstForcedTrack(input);
    layer->index = forced >= 0 ? forced : MediaProbe::bestStream(input, AVMEDIA_TYPE_SUBTITLE);
    layer->forcedOnly = forced < 0;
}

bool BurnedSubtitles::load(Layer& layer, std::string* error)
{
    layer.loaded = true;
    if (!SubtitleReader::readTrack(layer.path, layer.index, layer.forcedOnly, &layer.subtitles, error))
        return false;
    if (layer.forcedOnly && layer.subtitles.events.empty())
        RunNotices::say(layer.path + " has no forced subtitles; it shows none");
    return !layer.subtitles.text || makeTrack(layer, error);
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

bool BurnedSubtitles::makeTrack(Layer& layer, std::string* error)
{
    if (!startRenderer(error))
        return false;
    layer.track.reset(ass_new_track(library_.get()));
    if (!layer.track)
        return *error = "out of memory", false;
    std::string header = layer.subtitles.header;
    ass_process_codec_private(layer.track.get(), header.data(), int(header.size()));
    layer.moving.clear();
    for (SubtitleEvent& event : layer.subtitles.events) {
        layer.moving.push_back(changesWhileShown(event.line));
        ass_process_chunk(layer.track.get(), event.line.data(), int(event.line.size()), std::llround(event.start * 1000.0),
                          std::llround((event.end - event.start) * 1000.0));
    }
    return true;
}

bool BurnedSubtitles::draw(AVFrame* frame, double seconds, const PicturePlacement& picture, std::string* error)
{
    const Span* span = nullptr;
    for (const Span& s : spans_) {
        if (seconds + 1e-6 >= s.offset)
            span = &s;
    }
    if (!span || !span->layer || picture.width <= 0 || picture.height <= 0)
        return true;
    if (!span->layer->loaded && !load(*span->layer, error))
        return false;
    const double time = span->clip.start + (seconds - span->offset);
    if (span->layer->subtitles.text)
        return drawText(*span->layer, frame, time, picture, error);
    return drawPictures(*span->layer, frame, time, picture, error);
}

bool BurnedSubtitles::drawText(Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture,
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
    const bool still = std::none_of(shown.begin(), shown.end(), [&](std::size_t i) { return layer.moving[i]; });
    if (still && rendered_.layer == &layer && rendered_.events == shown && rendered_.width == picture.width &&
        rendered_.height == picture.height)
        return rendered_.images;
    ASS_Renderer* renderer = renderer_.get();
    ass_set_frame_size(renderer, picture.width, picture.height);
    ass_set_storage_size(renderer, picture.width, picture.height);
    ass_set_pixel_aspect(renderer, sampleAspect_);
    int changed = 0;
    const ASS_Image* images = ass_render_frame(renderer, layer.track.get(), ms, &changed);
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
