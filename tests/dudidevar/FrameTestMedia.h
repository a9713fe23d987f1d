// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <cmath>
#include <string>

#include "TestMedia.h"

// Generated media for the picture and preview tests. Frame n of a "grey" video is a flat grey
// of level 16 + 4n, so the number of the frame in a picture can be read back from any pixel.
namespace FrameTestMedia {

// 64×48: an MPEG-4 AVI or, with ".mpg", an MPEG-2 program stream with B-frames; a key frame
// every 12. (AVI keeps no presentation times: B-frames there would shift every frame's time.)
inline std::string greyVideo(int rate, int seconds, const std::string& extension = ".avi")
{
    const bool mpeg = extension == ".mpg";
    const std::string shape = std::to_string(rate) + ":d=" + std::to_string(seconds);
    return TestMedia::made("grey-" + std::to_string(rate) + "-" + std::to_string(seconds) + extension,
                           {"-f", "lavfi", "-i", "color=black:s=64x48:r=" + shape + ",format=gray,geq=lum='16+N*4'",
                            "-pix_fmt", "yuv420p", "-c:v", mpeg ? "mpeg2video" : "mpeg4", "-q:v", "2", "-bf",
                            mpeg ? "2" : "0", "-g", "12", "-f", mpeg ? "mpeg" : "avi"});
}

// The same video at a path of the caller's choosing.
inline bool makeGreyVideo(const QString& path, int rate, double seconds)
{
    const std::string made = greyVideo(rate, int(seconds), path.endsWith(".mpg") ? ".mpg" : ".avi");
    QFile::remove(path);
    return QFile::copy(QString::fromStdString(made), path);
}

// 1 s of video with a sine tone, for the preview.
inline std::string toneVideo()
{
    return TestMedia::made("tone.avi", {"-f", "lavfi", "-i", "testsrc=s=160x120:r=25:d=1", "-f", "lavfi", "-i",
                                        "sine=f=440:r=44100:d=1", "-c:v", "mpeg4", "-q:v", "4", "-c:a", "mp2"});
}

// The frame number that a picture's centre shows, or -1 when it is not one of ours.
inline int frameNumberOf(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    const int level = qGray(picture.pixel(picture.width() / 2, picture.height() / 2));
    const double number = (level - 16) / 4.0;
    return std::abs(number - std::round(number)) < 0.4 ? static_cast<int>(std::round(number)) : -1;
}

inline int frameNumberIn(const std::string& picture) { return frameNumberOf(QImage(QString::fromStdString(picture))); }

}  // namespace FrameTestMedia
