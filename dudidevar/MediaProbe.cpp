#include "dudidevar/MediaProbe.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace MediaProbe {

namespace {

// Empty when the path names a regular file; else why it cannot be read as media.
std::string notARegularFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return "cannot open " + path + ": " + std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return path + " is a folder, not a media file";
    if (!S_ISREG(info.st_mode))
        return path + " is not a regular file";
    return {};
}

double streamDuration(const AVFormatContext* input)
{
    double longest = 0.0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
            longest = std::max(longest, s->duration * av_q2d(s->time_base));
    }
    return longest;
}

}  // namespace

ff::InputContext open(const std::string& path, std::string* error)
{
    if (const std::string why = notARegularFile(path); !why.empty()) {
        if (error)
            *error = why;
        return nullptr;
    }
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        if (error)
            *error = "cannot open " + path + ": " + ff::errorText(rc);
        return nullptr;
    }
    ff::InputContext input(raw);
    rc = avformat_find_stream_info(input.get(), nullptr);
    if (rc < 0) {
        if (error)
            *error = "cannot read the streams of " + path + ": " + ff::errorText(rc);
        return nullptr;
    }
    return input;
}

int bestStream(AVFormatContext* input, AVMediaType type)
{
    const int index = av_find_best_stream(input, type, -1, -1, nullptr, 0);
    if (index < 0)
        return -1;
    const AVCodecParameters* par = input->streams[index]->codecpar;
    if (type == AVMEDIA_TYPE_VIDEO && (par->width <= 0 || par->height <= 0))
        return -1;
    if (type == AVMEDIA_TYPE_AUDIO && (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0))
        return -1;
    return index;
}

double startOffset(const AVFormatContext* input)
{
    return input->start_time == AV_NOPTS_VALUE ? 0.0 : input->start_time / double(AV_TIME_BASE);
}

double streamEnd(const AVFormatContext* input, const AVStream* stream)
{
    if (input->duration_estimation_method != AVFMT_DURATION_FROM_STREAM || stream->duration == AV_NOPTS_VALUE ||
        stream->duration <= 0)
        return -1.0;
    const std::int64_t first = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return (first + stream->duration) * av_q2d(stream->time_base) - startOffset(input);
}

Facts facts(const AVFormatContext* input)
{
    Facts f;
    if (input->duration != AV_NOPTS_VALUE && input->duration > 0)
        f.duration = input->duration / double(AV_TIME_BASE);
    else
        f.duration = streamDuration(input);
    auto* mutableInput = const_cast<AVFormatContext*>(input);
    const int video = bestStream(mutableInput, AVMEDIA_TYPE_VIDEO);
    if (video >= 0) {
        f.hasVideo = true;
        f.width = input->streams[video]->codecpar->width;
        f.height = input->streams[video]->codecpar->height;
    }
    f.hasAudio = bestStream(mutableInput, AVMEDIA_TYPE_AUDIO) >= 0;
    return f;
}

Facts facts(const std::string& path)
{
    ff::InputContext input = open(path);
    return input ? facts(input.get()) : Facts{};
}

}  // namespace MediaProbe
