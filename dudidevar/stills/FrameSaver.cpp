// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/stills/FrameSaver.h"

#include <limits>

#include "dudidevar/source/MissingPictureReason.h"
#include "dudidevar/picture/PictureGeometry.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

// A picture written over the video it comes from would destroy the video.
bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

bool FrameSaver::fail(const std::string& reason)
{
    lastError_ = reason;
    return false;
}

void FrameSaver::close()
{
    pictures_.close();
    runVideo_.clear();
}

bool FrameSaver::saveOriginalSize(const std::string& mediaPath, double seconds, const std::string& bitmapPath)
{
    return save(mediaPath, seconds, bitmapPath, 0, 0);
}

bool FrameSaver::saveSized(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width,
                           int height)
{
    if (width < 1 || height < 1)
        return fail("a picture cannot be " + std::to_string(width) + "x" + std::to_string(height) + " pixels");
    return save(mediaPath, seconds, bitmapPath, width, height);
}

bool FrameSaver::save(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width,
                      int height)
{
    lastError_.clear();
    if (bitmapPath.empty())
        return fail("no picture file is named");
    if (sameFile(mediaPath, bitmapPath))
        return fail("the picture would overwrite its video " + mediaPath);
    if (mediaPath != runVideo_ || seconds <= runTime_) {
        writer_.startRun();
        runVideo_ = mediaPath;
    }
    runTime_ = seconds;
    const GrabbedFrame picture = pictures_.take(mediaPath, seconds);
    if (!picture.frame)
        return fail(MissingPictureReason::reason(mediaPath, seconds));
    const AVFrame* frame = picture.frame.get();
    const SourceShape& shape = picture.shape;
    if (width == 0 || height == 0) {
        const PictureGeometry::Size size = PictureGeometry::shownSize(shape);
        width = size.width;
        height = size.height;
    }
    std::string error;
    const AVFrame* upright = turner_.turn(*frame, shape.rotation, &error);
    if (!upright)
        return fail(error);
    const PicturePlacement where =
        PictureGeometry::place(PictureGeometry::displayAspect(shape), width, height, AVRational{1, 1});
    if (!openSubtitles(mediaPath, &error))
        return fail(error);
    return writer_.write(*upright, width, height, where, bitmapPath, subtitles_.empty() ? nullptr : &burned_, seconds) ||
           fail(writer_.failure().empty() ? "cannot write " + bitmapPath : writer_.failure());
}

bool FrameSaver::chooseSubtitles(const std::string& subtitles)
{
    SubtitleChoice choice;
    if (!SubtitleChoice::parse(subtitles, &choice))
        return fail("the subtitles \"" + subtitles + "\" are neither a track number, a language, \"forced\" nor a file");
    if (subtitles != subtitles_)
        subtitlesOpenFor_.clear();
    subtitles_ = subtitles;
    return true;
}

// A video's subtitles are read once for all its pictures.
bool FrameSaver::openSubtitles(const std::string& mediaPath, std::string* error)
{
    if (subtitles_.empty() || subtitlesOpenFor_ == mediaPath)
        return true;
    SubtitleChoice choice;
    SubtitleChoice::parse(subtitles_, &choice);
    PicturePlan plan;
    plan.pixelFormat = AV_PIX_FMT_BGR24;
    plan.sampleAspect = {1, 1};
    const Clip whole{mediaPath, 0.0, std::numeric_limits<double>::max(), false};
    if (!burned_.open(choice, {whole}, {}, plan, error))
        return false;
    subtitlesOpenFor_ = mediaPath;
    return true;
}
