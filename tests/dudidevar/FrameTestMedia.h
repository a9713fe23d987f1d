#pragma once

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cmath>
#include <string>

// Generated media for the picture and preview tests. Frame n of a "grey" video is a flat grey
// of level 16 + 4n, so the number of the frame in a picture can be read back from any pixel.
namespace FrameTestMedia {

inline bool runFfmpeg(const QStringList& arguments)
{
    QProcess process;
    process.start("ffmpeg", QStringList{"-v", "error", "-y"} + arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// An MPEG-4 AVI or, with ".mpg", an MPEG-2 program stream with B-frames; a key frame every 12.
// (AVI keeps no presentation times: B-frames there would shift every frame's time by one.)
inline bool makeGreyVideo(const QString& path, int rate, double seconds, int width = 64, int height = 48)
{
    const QString source = QString("color=black:s=%1x%2:r=%3:d=%4,format=gray,geq=lum='16+N*4'")
                               .arg(width).arg(height).arg(rate).arg(seconds);
    const bool mpeg = path.endsWith(".mpg");
    QStringList arguments{"-f", "lavfi", "-i", source, "-pix_fmt", "yuv420p", "-c:v",
                          mpeg ? "mpeg2video" : "mpeg4", "-q:v", "2", "-bf", mpeg ? "2" : "0", "-g", "12"};
    if (mpeg)
        arguments << "-f" << "mpeg";
    return runFfmpeg(arguments << path);
}

// A video with a sine tone, for the preview.
inline bool makeVideoWithSound(const QString& path, double seconds)
{
    const QString video = QString("testsrc=s=160x120:r=25:d=%1").arg(seconds);
    const QString sound = QString("sine=f=440:r=44100:d=%1").arg(seconds);
    return runFfmpeg({"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", sound, "-c:v", "mpeg4", "-q:v", "4",
                      "-c:a", "mp2", "-b:a", "128k", path});
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

}  // namespace FrameTestMedia
