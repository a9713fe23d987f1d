// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/SubtitleReader.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "dudidevar/base/RunNotices.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/subtitles/SubtitleChoice.h"

namespace SubtitleReader {

namespace {

// Subtitle files larger than this are not read (a film's subtitles take well under 1 MB).
constexpr std::int64_t kLargestFile = 32 << 20;
// How long a subtitle is shown whose end its track does not give, nor the next subtitle.
constexpr double kLongestUnended = 10.0;

struct SubtitleOwner {
    AVSubtitle value{};
    ~SubtitleOwner() { avsubtitle_free(&value); }
};

// A picture subtitle's indexed pixels with their palette as 0xAARRGGBB.
void takePicture(const AVSubtitleRect& rect, SubtitleEvent* event)
{
    event->x = rect.x;
    event->y = rect.y;
    event->width = rect.w;
    event->height = rect.h;
    event->pixels.resize(std::size_t(rect.w) * std::size_t(rect.h));
    const auto* palette = reinterpret_cast<const std::uint32_t*>(rect.data[1]);
    for (int y = 0; y < rect.h; ++y) {
        for (int x = 0; x < rect.w; ++x) {
            const std::uint8_t index = rect.data[0][y * rect.linesize[0] + x];
            event->pixels[std::size_t(y) * std::size_t(rect.w) + std::size_t(x)] =
                index < rect.nb_colors ? palette[index] : 0;
        }
    }
}

class StreamReading {
public:
    StreamReading(AVFormatContext* input, int index, const std::string& path, SubtitleEvents* out)
        : input_(input), stream_(input->streams[index]), path_(path), out_(out)
    {
    }

    bool read(const char* charset, bool forcedOnly, std::string* error)
    {
        *out_ = {};
        if (!openDecoder(charset, error))
            return false;
        forcedTrack_ = stream_->disposition & AV_DISPOSITION_FORCED;
        for (unsigned i = 0; i < input_->nb_streams; ++i)
            input_->streams[i]->discard = int(i) == stream_->index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        ff::Packet packet = ff::makePacket();
        if (!packet)
            return *error = "out of memory", false;
        while (av_read_frame(input_, packet.get()) >= 0) {
            if (packet->stream_index == stream_->index)
                decode(packet.get());
            av_packet_unref(packet.get());
        }
        closeUnended(-1.0);
        if (forcedOnly)
            keepForced();
        out_->text = avcodec_descriptor_get(stream_->codecpar->codec_id)->props & AV_CODEC_PROP_TEXT_SUB;
        if (decoder_->subtitle_header)
            out_->header.assign(reinterpret_cast<const char*>(decoder_->subtitle_header),
                                std::size_t(decoder_->subtitle_header_size));
        out_->canvasWidth = decoder_->width > 0 ? decoder_->width : stream_->codecpar->width;
        out_->canvasHeight = decoder_->height > 0 ? decoder_->height : stream_->codecpar->height;
        return true;
    }

private:
    bool openDecoder(const char* charset, std::string* error)
    {
        const AVCodec* codec = avcodec_find_decoder(stream_->codecpar->codec_id);
        const AVCodecDescriptor* kind = avcodec_descriptor_get(stream_->codecpar->codec_id);
        if (!codec || !kind || !(kind->props & (AV_CODEC_PROP_TEXT_SUB | AV_CODEC_PROP_BITMAP_SUB)))
            return *error = path_ + ": its subtitles are in a format that cannot be read", false;
        decoder_.reset(avcodec_alloc_context3(codec));
        if (!decoder_ || avcodec_parameters_to_context(decoder_.get(), stream_->codecpar) < 0)
            return *error = "out of memory", false;
        decoder_->pkt_timebase = stream_->time_base;
        AVDictionary* options = nullptr;
        if (charset)
            av_dict_set(&options, "sub_charenc", charset, 0);
        const int rc = avcodec_open2(decoder_.get(), codec, &options);
        av_dict_free(&options);
        if (rc < 0)
            return *error = path_ + ": its subtitles cannot be decoded (" + ff::errorText(rc) + ")", false;
        return true;
    }

    void decode(AVPacket* packet)
    {
        SubtitleOwner subtitle;
        int got = 0;
        if (avcodec_decode_subtitle2(decoder_.get(), &subtitle.value, &got, packet) < 0 || !got)
            return;
        const double unit = av_q2d(stream_->time_base);
        const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (stamp == AV_NOPTS_VALUE)
            return;
        const double at = stamp * unit - MediaProbe::startOffset(input_) + subtitle.value.start_display_time / 1000.0;
        closeUnended(at);
        double end = -1.0;
        if (packet->duration > 0)
            end = at + packet->duration * unit;
        else if (subtitle.value.end_display_time > subtitle.value.start_display_time &&
                 subtitle.value.end_display_time != UINT32_MAX)
            end = at + (subtitle.value.end_display_time - subtitle.value.start_display_time) / 1000.0;
        for (unsigned i = 0; i < subtitle.value.num_rects; ++i)
            add(*subtitle.value.rects[i], at, end);
    }

    void add(const AVSubtitleRect& rect, double start, double end)
    {
        SubtitleEvent event;
        event.start = start;
        event.end = end;
        event.forced = forcedTrack_ || (rect.flags & AV_SUBTITLE_FLAG_FORCED);
        if (rect.type == SUBTITLE_ASS && rect.ass)
            event.line = rect.ass;
        else if (rect.type == SUBTITLE_BITMAP && rect.w > 0 && rect.h > 0 && rect.data[0] && rect.data[1])
            takePicture(rect, &event);
        else
            return;
        out_->events.push_back(std::move(event));
    }

    // Subtitles without an end (pictures) last until the next one starts.
    void closeUnended(double next)
    {
        for (SubtitleEvent& event : out_->events) {
            if (event.end < 0)
                event.end = next > event.start ? next : event.start + kLongestUnended;
        }
    }

    void keepForced()
    {
        auto& events = out_->events;
        events.erase(std::remove_if(events.begin(), events.end(), [](const SubtitleEvent& e) { return !e.forced; }),
                     events.end());
    }

    AVFormatContext* input_;
    AVStream* stream_;
    const std::string& path_;
    SubtitleEvents* out_;
    ff::CodecContext decoder_;
    bool forcedTrack_ = false;
};

bool fileBytes(const std::string& path, std::string* bytes, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return *error = "cannot open the subtitle file " + path, false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > kLargestFile)
        return *error = path + " is too large to be a subtitle file", false;
    in.seekg(0);
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

}  // namespace

bool isUtf8(const std::string& bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int follow = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xe ? 2 : (c >> 3) == 0x1e ? 3 : -1;
        if (follow < 0 || (follow == 1 && c < 0xc2) || i + std::size_t(follow) >= bytes.size())
            return false;
        for (int k = 1; k <= follow; ++k) {
            if ((static_cast<unsigned char>(bytes[i + std::size_t(k)]) & 0xc0) != 0x80)
                return false;
        }
        i += std::size_t(follow) + 1;
    }
    return true;
}

bool readTrack(const std::string& path, int index, bool forcedOnly, SubtitleEvents* out, std::string* error)
{
    ff::InputContext input = MediaProbe::open(path, error);
    if (!input)
        return false;
    if (index < 0 || unsigned(index) >= input->nb_streams)
        return *error = path + " has no such subtitle track", false;
    return StreamReading(input.get(), index, path, out).read(nullptr, forcedOnly, error);
}

bool readFile(const std::string& path, SubtitleEvents* out, std::string* error)
{
    if (!SubtitleChoice::hasSubtitleSuffix(path))
        return *error = path + " is not a subtitle file (.srt, .ass, .ssa or .vtt)", false;
    std::string bytes;
    if (!fileBytes(path, &bytes, error))
        return false;
    ff::InputContext input = MediaProbe::open(path, error);
    const int index = input ? av_find_best_stream(input.get(), AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0) : -1;
    if (index < 0)
        return *error = path + " is not a subtitle file that can be read", false;
    const bool utf8 = isUtf8(bytes) || bytes.compare(0, 2, "\xff\xfe") == 0 || bytes.compare(0, 2, "\xfe\xff") == 0;
    if (!utf8)
        RunNotices::say(path + " is not UTF-8 text; it is read as Windows-1252 (Latin-1)");
    if (!StreamReading(input.get(), index, path, out).read(utf8 ? nullptr : "CP1252", false, error))
        return false;
    if (out->events.empty())
        return *error = path + " holds no subtitles that can be read", false;
    return true;
}

}  // namespace SubtitleReader
