// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/MediaProbe.h"

#include "dudidevar/picture/PictureGeometry.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <vector>

#include "dudidevar/source/SourceReasons.h"
#include "platform/WriteFailureReason.h"

namespace MediaProbe {

namespace {

// Empty when the path names a regular file; else why it cannot be read as media.
std::atomic<std::int64_t> probes{0};

std::string notARegularFile(const std::string& path)
{
    if (std::string why = WriteFailureReason::nulInPath(path); !why.empty())
        return why;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return "cannot open " + path + ": " + std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return path + " is a folder, not a media file";
    if (!S_ISREG(info.st_mode))
        return path + " is not a regular file";
    return {};
}

// Why a file that exists cannot be opened as media: the system's words when it cannot be read
// at all, otherwise what that means for the user (the libraries' own words say "End of file" or
// "Cannot allocate memory" for a file that is simply damaged).
std::string refusal(const std::string& path, int code)
{
    if (code == AVERROR(EACCES) || code == AVERROR(EPERM) || code == AVERROR(EIO))
        return "cannot open " + path + ": " + ff::errorText(code);
    return SourceReasons::unreadable(path);
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

std::int64_t probeCount()
{
    return probes.load();
}

namespace {

ff::InputContext openInput(const std::string& path, const AVInputFormat* format, std::string* error)
{
    if (const std::string why = notARegularFile(path); !why.empty()) {
        if (error)
            *error = why;
        return nullptr;
    }
    AVFormatContext* raw = nullptr;
    const int rc = avformat_open_input(&raw, path.c_str(), format, nullptr);
    if (rc < 0) {
        if (error)
            *error = refusal(path, rc);
        return nullptr;
    }
    return ff::InputContext(raw);
}

}  // namespace

ff::InputContext open(const std::string& path, std::string* error)
{
    ff::InputContext input = openInput(path, nullptr, error);
    if (!input)
        return nullptr;
    ++probes;
    const int rc = avformat_find_stream_info(input.get(), nullptr);
    if (rc < 0) {
        if (error)
            *error = refusal(path, rc);
        return nullptr;
    }
    return input;
}

ff::InputContext openUnprobed(const std::string& path, const AVInputFormat* format, std::string* error)
{
    return openInput(path, format, error);
}

namespace {

// A stream that carries the file's picture or sound: a cover picture or a stream without a size
// or rate is none.
bool usable(const AVStream* stream, AVMediaType type)
{
    const AVCodecParameters* par = stream->codecpar;
    if (par->codec_type != type)
        return false;
    if (type == AVMEDIA_TYPE_VIDEO)
        return !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && par->width > 0 && par->height > 0;
    if (type == AVMEDIA_TYPE_AUDIO)
        return par->sample_rate > 0 && par->ch_layout.nb_channels > 0;
    return true;
}

}  // namespace

// Sound: the track the file marks as its default, else its first (the libraries' own ranking
// may pick a commentary or a second language). Picture: the libraries' choice.
int bestStream(AVFormatContext* input, AVMediaType type)
{
    if (type == AVMEDIA_TYPE_AUDIO) {
        for (unsigned i = 0; i < input->nb_streams; ++i) {
            if (usable(input->streams[i], type) && (input->streams[i]->disposition & AV_DISPOSITION_DEFAULT))
                return int(i);
        }
    }
    const int best = type == AVMEDIA_TYPE_AUDIO ? -1 : av_find_best_stream(input, type, -1, -1, nullptr, 0);
    if (best >= 0 && usable(input->streams[best], type))
        return best;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (usable(input->streams[i], type))
            return int(i);
    }
    return -1;
}

double startOffset(const AVFormatContext* input)
{
    return input->start_time == AV_NOPTS_VALUE ? 0.0 : input->start_time / double(AV_TIME_BASE);
}

namespace {

// Timestamps further ahead or back than this within one stream are not one run of it.
constexpr double kLeapAhead = 10.0;
constexpr double kLeapBack = 1.0;
// How much of the file's end is read to find where its streams end, at first and at most.
constexpr std::int64_t kTailBytes = 1 << 20;
constexpr std::int64_t kLongestTail = 16 << 20;
// How much of the file's end is read by time where reading from a byte finds no packets, in
// seconds: at first, then at most (lengths are asked for on the window's thread, so never a
// whole long file).
constexpr double kTimedTails[] = {30.0, 300.0};

// How much content a stream's packets cover, read in file order. Times that leap far ahead or
// back of the stream so far start a new run; times that do not advance (a muxer that forced
// them to rise after one wild time) are counted one packet after the packet before. So one
// wild timestamp, or a stream whose clock restarts, covers only what its packets hold.
struct StreamRuns {
    double firstStart = -1.0;
    double start = -1.0;
    double end = -1.0;
    double last = -1.0;
    double covered = 0.0;  // runs before the current one

    void add(double time, double duration)
    {
        if (start >= 0 && time <= last && time >= end - kLeapBack)
            time = last + duration;
        if (start < 0 || time > end + kLeapAhead || time < end - kLeapBack) {
            if (start >= 0)
                covered += end - start;
            else
                firstStart = time;
            start = end = time;
        }
        last = time;
        end = std::max(end, time + duration);
    }
    double contentEnd() const { return start < 0 ? -1.0 : firstStart + covered + (end - start); }
};

// Reads the file from where it stands to its end and gives where each stream's content ends, in
// the streams' seconds (-1 where none was seen). The content before the part read is taken as
// continuous.
std::vector<double> endsFromHere(AVFormatContext* input)
{
    std::vector<StreamRuns> runs(input->nb_streams);
    ff::Packet packet = ff::makePacket();
    while (packet && av_read_frame(input, packet.get()) >= 0) {
        const AVStream* s = input->streams[packet->stream_index];
        // Where frames are stored out of their order, a time shown stands in for a missing
        // decoding time only badly (Matroska gives none to the first frames).
        const bool reordered = s->codecpar->video_delay > 0;
        const std::int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : reordered ? AV_NOPTS_VALUE : packet->pts;
        if (ts != AV_NOPTS_VALUE) {
            const double unit = av_q2d(s->time_base);
            double duration = std::max<std::int64_t>(0, packet->duration) * unit;
            if (duration <= 0 && s->avg_frame_rate.num > 0 && s->avg_frame_rate.den > 0)
                duration = 1.0 / av_q2d(s->avg_frame_rate);
            runs[std::size_t(packet->stream_index)].add(ts * unit, duration);
        }
        av_packet_unref(packet.get());
    }
    std::vector<double> ends;
    for (const StreamRuns& run : runs)
        ends.push_back(run.contentEnd());
    return ends;
}

// The ends from the last `bytes` of the file.
std::vector<double> tailEnds(AVFormatContext* input, std::int64_t bytes)
{
    const std::int64_t size = input->pb ? avio_size(input->pb) : -1;
    if (size <= 0 || av_seek_frame(input, -1, std::max<std::int64_t>(0, size - bytes), AVSEEK_FLAG_BYTE) < 0)
        return {};
    std::vector<double> ends = endsFromHere(input);
    av_seek_frame(input, -1, 0, AVSEEK_FLAG_BYTE);
    return ends;
}

// The ends from the last `seconds` of the file, for containers that cannot start reading at any
// byte (Matroska goes on to its next cluster, and a short file may have only one).
std::vector<double> timedTailEnds(AVFormatContext* input, double seconds)
{
    if (input->duration == AV_NOPTS_VALUE || input->duration <= 0)
        return {};
    const std::int64_t start = input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
    const std::int64_t back = std::min<std::int64_t>(input->duration, std::int64_t(seconds * AV_TIME_BASE));
    const std::int64_t target = start + input->duration - back;
    if (avformat_seek_file(input, -1, INT64_MIN, target, target, 0) < 0)
        return {};
    std::vector<double> ends = endsFromHere(input);
    avformat_seek_file(input, -1, INT64_MIN, start, start, 0);
    return ends;
}

// Whether a file's length is only guessed from its size and bit rate (headerless sound files):
// a small one is then measured by reading all of its packets.
bool lengthGuessed(const AVFormatContext* input)
{
    return input->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE && input->pb &&
           avio_size(input->pb) > 0 && avio_size(input->pb) <= kLongestTail;
}

// Where the data of each of the streams ends from its packets' times, in seconds from the file's
// start (-1 where none is found): from growing tails of the file's bytes, else of its time, until
// every stream is found. Each stream keeps the end of the smallest tail that showed it.
std::vector<double> dataEnds(AVFormatContext* input, const std::vector<int>& indices)
{
    std::vector<double> result(indices.size(), -1.0);
    const auto take = [&](const std::vector<double>& ends) {
        bool all = true;
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const auto index = std::size_t(indices[i]);
            if (result[i] < 0 && index < ends.size() && ends[index] >= 0)
                result[i] = ends[index] - startOffset(input);
            all = all && result[i] >= 0;
        }
        return all;
    };
    const std::int64_t first = lengthGuessed(input) ? kLongestTail : kTailBytes;
    for (std::int64_t bytes = first; bytes <= kLongestTail; bytes *= 4) {
        const std::vector<double> ends = tailEnds(input, bytes);
        if (take(ends))
            return result;
        if (ends.empty() || avio_size(input->pb) <= bytes)
            break;
    }
    for (double seconds : kTimedTails) {
        if (take(timedTailEnds(input, seconds)))
            break;
    }
    return result;
}

double dataEnd(AVFormatContext* input, int index)
{
    return dataEnds(input, {index}).front();
}

// Whether the file has streams with data of their own besides those used (never a cover picture).
bool hasOtherStreams(const AVFormatContext* input, const std::vector<int>& used)
{
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        const bool cover = s->disposition & AV_DISPOSITION_ATTACHED_PIC;
        if (!cover && s->codecpar->codec_type != AVMEDIA_TYPE_ATTACHMENT &&
            std::find(used.begin(), used.end(), int(i)) == used.end())
            return true;
    }
    return false;
}

}  // namespace

double streamEnd(AVFormatContext* input, const AVStream* stream)
{
    if (input->duration_estimation_method == AVFMT_DURATION_FROM_PTS || lengthGuessed(input))
        return dataEnd(input, stream->index);
    if (input->duration_estimation_method != AVFMT_DURATION_FROM_STREAM || stream->duration == AV_NOPTS_VALUE ||
        stream->duration <= 0)
        return -1.0;
    const std::int64_t first = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return (first + stream->duration) * av_q2d(stream->time_base) - startOffset(input);
}

std::vector<double> streamEnds(AVFormatContext* input, const std::vector<int>& indices)
{
    if (input->duration_estimation_method == AVFMT_DURATION_FROM_PTS || lengthGuessed(input))
        return dataEnds(input, indices);
    std::vector<double> ends;
    for (int index : indices)
        ends.push_back(streamEnd(input, input->streams[index]));
    return ends;
}

double measuredEnd(AVFormatContext* input, const AVStream* stream)
{
    const double declared = streamEnd(input, stream);
    return declared >= 0 ? declared : dataEnd(input, stream->index);
}

double contentSeconds(const std::string& path)
{
    ff::InputContext input = open(path);
    return input ? contentSeconds(input.get()) : 0.0;
}

double contentSeconds(AVFormatContext* input)
{
    std::vector<int> used;
    for (AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        const int index = bestStream(input, type);
        if (index >= 0)
            used.push_back(index);
    }
    double end = -1.0;
    for (int index : used)
        end = std::max(end, streamEnd(input, input->streams[index]));
    // A file that gives only its own length (Matroska) takes it from its longest stream, which
    // may be a subtitle or a second sound that outlasts the picture and sound used: then their
    // ends are read from their last packets.
    if (end <= 0 && hasOtherStreams(input, used)) {
        for (int index : used)
            end = std::max(end, dataEnd(input, index));
    }
    return end > 0 ? end : facts(input).duration;
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
        const PictureGeometry::Size shown =
            PictureGeometry::shownSize(PictureGeometry::shapeOf(mutableInput, input->streams[video]));
        f.width = shown.width;
        f.height = shown.height;
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
