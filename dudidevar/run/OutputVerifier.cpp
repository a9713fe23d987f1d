// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/OutputVerifier.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "dudidevar/source/MediaProbe.h"

namespace {

// Each stream's own length, or the file's when the stream does not tell. A file whose lengths the
// library estimates from the last time stamp it finds in the packet headers (a program stream,
// where small pictures share a packet and only the first is stamped) is measured from the
// times of its packets, read from its end once for all the streams.
std::vector<double> streamSeconds(AVFormatContext* input, const std::vector<int>& indices)
{
    std::vector<double> seconds(indices.size(), -1.0);
    if (input->duration_estimation_method == AVFMT_DURATION_FROM_PTS)
        seconds = MediaProbe::streamEnds(input, indices);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (seconds[i] > 0)
            continue;
        const AVStream* stream = input->streams[indices[i]];
        if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
            seconds[i] = stream->duration * av_q2d(stream->time_base);
        else if (input->duration != AV_NOPTS_VALUE && input->duration > 0)
            seconds[i] = input->duration / double(AV_TIME_BASE);
        else
            seconds[i] = 0.0;
    }
    return seconds;
}

// Whether a stream has any data at all: a header that describes a picture stream is not yet a
// picture.
bool holdsAPacket(AVFormatContext* input, int index)
{
    ff::Packet packet = ff::makePacket();
    while (packet && av_read_frame(input, packet.get()) >= 0) {
        const bool found = packet->stream_index == index && packet->size > 0;
        av_packet_unref(packet.get());
        if (found)
            return true;
    }
    return false;
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    return text;
}

}  // namespace

double OutputVerifier::shortfallAllowed() const
{
    return std::max(expected_.framePeriod, 0.1);
}

double OutputVerifier::overrunAllowed(double seconds)
{
    return std::max(1.0, seconds * 0.02);
}

bool OutputVerifier::verify(const std::string& path, const std::string& target, std::string* reason) const
{
    std::string error;
    ff::InputContext input = MediaProbe::open(path, &error);
    if (!input) {
        *reason = "the finished output " + target + " cannot be read back";
        return false;
    }
    const int picture = MediaProbe::bestStream(input.get(), AVMEDIA_TYPE_VIDEO);
    const int sound = MediaProbe::bestStream(input.get(), AVMEDIA_TYPE_AUDIO);
    if (expected_.picture && (picture < 0 || !holdsAPacket(input.get(), picture))) {
        *reason = "the finished output " + target + " holds no pictures";
        return false;
    }
    if (expected_.sound && sound < 0) {
        *reason = "the finished output " + target + " holds no sound";
        return false;
    }
    if (!expected_.sound && sound >= 0) {
        *reason = "the finished output " + target + " holds sound that was not asked for";
        return false;
    }
    std::vector<int> measured;
    if (expected_.picture)
        measured.push_back(picture);
    if (expected_.sound)
        measured.push_back(sound);
    const std::vector<double> seconds = streamSeconds(input.get(), measured);
    if (expected_.picture &&
        !lengthFits(seconds.front(), expected_.pictureSeconds, "pictures", target, reason))
        return false;
    return !expected_.sound || lengthFits(seconds.back(), expected_.soundSeconds, "sound", target, reason);
}

bool OutputVerifier::lengthFits(double actual, double expected, const char* what, const std::string& target,
                                std::string* reason) const
{
    if (actual >= expected - shortfallAllowed() && actual <= expected + overrunAllowed(expected))
        return true;
    *reason = "the finished output " + target + " holds " + seconds(actual) + " of " + what + " instead of " +
              seconds(expected);
    return false;
}
