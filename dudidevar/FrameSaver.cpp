#include "dudidevar/FrameSaver.h"

#include "dudidevar/PictureGeometry.h"

#include <filesystem>
#include <system_error>

namespace {

// A picture written over the video it comes from would destroy the video.
bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

bool FrameSaver::saveOriginalSize(const std::string& mediaPath, double seconds, const std::string& bitmapPath)
{
    return save(mediaPath, seconds, bitmapPath, 0, 0);
}

bool FrameSaver::saveSized(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width,
                           int height)
{
    if (width < 1 || height < 1)
        return false;
    return save(mediaPath, seconds, bitmapPath, width, height);
}

bool FrameSaver::save(const std::string& mediaPath, double seconds, const std::string& bitmapPath, int width,
                      int height)
{
    if (bitmapPath.empty() || sameFile(mediaPath, bitmapPath))
        return false;
    const AVFrame* frame = grabber_.frameAt(mediaPath, seconds);
    if (!frame)
        return false;
    const SourceShape shape = grabber_.shapeOf(frame);
    if (width == 0 || height == 0) {
        const PictureGeometry::Size size = PictureGeometry::shownSize(shape);
        width = size.width;
        height = size.height;
    }
    std::string error;
    const AVFrame* upright = turner_.turn(*frame, shape.rotation, &error);
    if (!upright)
        return false;
    const PicturePlacement where =
        PictureGeometry::place(PictureGeometry::displayAspect(shape), width, height, AVRational{1, 1});
    return writer_.write(*upright, width, height, where, bitmapPath);
}
