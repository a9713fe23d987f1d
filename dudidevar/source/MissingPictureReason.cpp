// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/MissingPictureReason.h"

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/SourceReasons.h"

namespace MissingPictureReason {

namespace {
// A time this close to the end of the picture already lies past its last frame.
constexpr double kEndSlack = 0.001;
}

std::string reason(const std::string& path, double seconds)
{
    std::string error;
    ff::InputContext input = MediaProbe::open(path, &error);
    if (!input)
        return error;
    const int video = MediaProbe::bestStream(input.get(), AVMEDIA_TYPE_VIDEO);
    if (video < 0)
        return SourceReasons::noPicture(path);
    double end = MediaProbe::measuredEnd(input.get(), input->streams[video]);
    if (end <= 0)
        end = MediaProbe::facts(input.get()).duration;
    if (end > 0 && seconds >= end - kEndSlack)
        return SourceReasons::pastTheEnd(seconds, end);
    return SourceReasons::damaged(path, "its picture at " + SourceReasons::seconds(seconds) + " cannot be decoded");
}

}  // namespace MissingPictureReason
