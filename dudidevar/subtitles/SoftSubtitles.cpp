// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/SoftSubtitles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dudidevar/source/StreamPicker.h"

namespace {

// The styles of lines read from a source's track, whose own are known only once it is read:
// a SubRip line's, which the timed-text encoder takes as its default.
constexpr const char* kPlainHeader =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
    "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
    "MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,16,&Hffffff,&Hffffff,&H0,&H0,0,0,0,0,100,100,0,0,1,1,0,2,10,10,10,0\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

constexpr AVRational kMilliseconds{1, 1000};

struct SubtitleOwner {
    AVSubtitle value{};
    ~SubtitleOwner() { avsubtitle_free(&value); }
};

}  // namespace

bool SoftSubtitles::open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                         const std::map<std::string, AVFormatContext*>& probed, std::string* error)
{
    encoder_.reset();
    queued_.clear();
    nextSpan_ = 0;
    if (!sources_.open(choice, clips, probed, error))
        return false;
    std::string header = kPlainHeader;
    for (const SubtitleSources::Span& span : sources_.spans()) {
        if (!span.layer)
            continue;
        if (!span.layer->text)
            return *error = span.layer->path + ": its subtitles are pictures; only text subtitles can be kept as "
                                               "a subtitle track (they can be burned into the picture)",
                   false;
        if (language_.empty())
            language_ = StreamPicker::threeLetterCode(span.layer->language);
        if (span.layer->loaded && !span.layer->subtitles.header.empty())
            header = span.layer->subtitles.header;
    }
    const bool any = std::any_of(sources_.spans().begin(), sources_.spans().end(),
                                 [](const SubtitleSources::Span& s) { return s.layer != nullptr; });
    return !any || openEncoder(header, error);
}

bool SoftSubtitles::openEncoder(const std::string& header, std::string* error)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MOV_TEXT);
    if (!codec)
        return *error = "the media libraries cannot write MP4 subtitle tracks", false;
    encoder_.reset(avcodec_alloc_context3(codec));
    if (!encoder_)
        return *error = "out of memory", false;
    encoder_->time_base = kMilliseconds;
    encoder_->subtitle_header = static_cast<uint8_t*>(av_mallocz(header.size() + 1));
    if (!encoder_->subtitle_header)
        return *error = "out of memory", false;
    std::memcpy(encoder_->subtitle_header, header.data(), header.size());
    encoder_->subtitle_header_size = int(header.size());
    const int rc = avcodec_open2(encoder_.get(), codec, nullptr);
    if (rc < 0) {
        encoder_.reset();
        return *error = "the subtitle track cannot be started (" + ff::errorText(rc) + ")", false;
    }
    return true;
}

bool SoftSubtitles::packetsBefore(double seconds, std::vector<ff::Packet>* packets, std::string* error)
{
    if (!encoder_)
        return true;
    const std::vector<SubtitleSources::Span>& spans = sources_.spans();
    while (nextSpan_ < spans.size() && spans[nextSpan_].offset <= seconds) {
        if (!queueSpan(spans[nextSpan_], error))
            return false;
        ++nextSpan_;
    }
    while (!queued_.empty() && queued_.front().start < seconds) {
        if (!encode(queued_.front(), packets, error))
            return false;
        queued_.pop_front();
    }
    return true;
}

// The span's part of its source's lines, moved to where the span lies in the output.
bool SoftSubtitles::queueSpan(const SubtitleSources::Span& span, std::string* error)
{
    if (!span.layer)
        return true;
    if (!SubtitleSources::load(*span.layer, error))
        return false;
    const Clip& clip = span.clip;
    for (const SubtitleEvent& event : span.layer->subtitles.events) {
        const double start = std::max(event.start, clip.start);
        const double end = std::min(event.end, clip.end);
        if (end > start && !event.line.empty())
            queued_.push_back({span.offset + start - clip.start, span.offset + end - clip.start, event.line});
    }
    return true;
}

bool SoftSubtitles::encode(const Line& line, std::vector<ff::Packet>* packets, std::string* error)
{
    SubtitleOwner subtitle;
    AVSubtitle& s = subtitle.value;
    s.rects = static_cast<AVSubtitleRect**>(av_mallocz(sizeof(AVSubtitleRect*)));
    if (!s.rects || !(s.rects[0] = static_cast<AVSubtitleRect*>(av_mallocz(sizeof(AVSubtitleRect)))))
        return *error = "out of memory", false;
    s.num_rects = 1;
    s.rects[0]->type = SUBTITLE_ASS;
    s.rects[0]->ass = av_strdup(line.text.c_str());
    if (!s.rects[0]->ass)
        return *error = "out of memory", false;
    const std::int64_t start = std::llround(line.start * 1000.0);
    const std::int64_t length = std::max<std::int64_t>(1, std::llround((line.end - line.start) * 1000.0));
    s.pts = av_rescale_q(start, kMilliseconds, AV_TIME_BASE_Q);
    s.end_display_time = std::uint32_t(length);
    std::vector<std::uint8_t> bytes(1 << 16);
    const int size = avcodec_encode_subtitle(encoder_.get(), bytes.data(), int(bytes.size()), &s);
    if (size < 0)
        return *error = "a subtitle cannot be written (" + ff::errorText(size) + ")", false;
    ff::Packet packet = ff::makePacket();
    if (!packet || av_new_packet(packet.get(), size) < 0)
        return *error = "out of memory", false;
    std::memcpy(packet->data, bytes.data(), std::size_t(size));
    packet->pts = packet->dts = start;
    packet->duration = length;
    packets->push_back(std::move(packet));
    return true;
}
