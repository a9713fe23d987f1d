#include "dudidevar/source/PictureAbsence.h"

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/SourceWords.h"

namespace PictureAbsence {

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
        return SourceWords::noPicture(path);
    double end = MediaProbe::measuredEnd(input.get(), input->streams[video]);
    if (end <= 0)
        end = MediaProbe::facts(input.get()).duration;
    if (end > 0 && seconds >= end - kEndSlack)
        return SourceWords::pastTheEnd(seconds, end);
    return SourceWords::damaged(path, "its picture at " + SourceWords::seconds(seconds) + " cannot be decoded");
}

}  // namespace PictureAbsence
