// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/PromisedLength.h"

#include <algorithm>
#include <cstring>

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/SourceReasons.h"

namespace PromisedLength {

namespace {
// A header may count a few pictures that were never written, such as a last one dropped.
constexpr double kSlackSeconds = 0.5;
constexpr double kSlackShare = 0.02;
}  // namespace

double pictureEnd(const AVFormatContext* input, const AVStream* stream)
{
    if (!input->iformat || std::strcmp(input->iformat->name, "avi") != 0 || stream->nb_frames <= 0)
        return -1.0;
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        return -1.0;
    const double start = stream->start_time == AV_NOPTS_VALUE ? 0.0 : stream->start_time * av_q2d(stream->time_base);
    return start - MediaProbe::startOffset(input) + double(stream->nb_frames) * av_q2d(av_inv_q(rate));
}

std::string shortfall(const std::string& path, const AVFormatContext* input, const AVStream* stream, double readEnd)
{
    const double promised = pictureEnd(input, stream);
    if (promised < 0 || promised - readEnd <= std::max(kSlackSeconds, promised * kSlackShare))
        return {};
    return SourceReasons::cutShort(path, "picture", std::max(0.0, readEnd), promised);
}

}  // namespace PromisedLength
