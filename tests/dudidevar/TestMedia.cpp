// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace TestMedia {

namespace {

QByteArray runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error((program + " " + args.join(' ') + ": " + process.readAllStandardError()).toStdString());
    return process.readAllStandardOutput();
}

// Generates a file once; concurrent test programs each write their own copy and rename it
// into place.
std::string generated(const std::string& name, const QStringList& args)
{
    const std::string path = folder() + name;
    if (QFile::exists(QString::fromStdString(path)))
        return path;
    const QString temp = QString::fromStdString(path) + ".tmp" + QString::number(::getpid()) +
                         QString::fromStdString(std::filesystem::path(name).extension().string());
    runTool("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args + QStringList{temp});
    std::filesystem::rename(temp.toStdString(), path);
    return path;
}

double rate(const QString& text)
{
    const auto parts = text.split('/');
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0.0;
    return parts[0].toDouble() / parts[1].toDouble();
}

const Stream* streamOf(const std::vector<Stream>& streams, const std::string& type)
{
    const auto found = std::find_if(streams.begin(), streams.end(), [&](const Stream& s) { return s.type == type; });
    return found == streams.end() ? nullptr : &*found;
}

}  // namespace

std::string folder()
{
    static const std::string path = [] {
        const QString dir = QDir::tempPath() + "/marvane-dudidevar-media-" + QString::number(::getuid()) + "/";
        QDir().mkpath(dir);
        return dir.toStdString();
    }();
    return path;
}

// The test program's scratch folders lie in one folder that goes when the program ends.
std::string scratchFolder()
{
    static const QTemporaryDir all(QDir::tempPath() + "/marvane-dudidevar-out-XXXXXX");
    static std::atomic<int> counter{0};
    if (!all.isValid())
        throw std::runtime_error("no scratch folder can be made in " + QDir::tempPath().toStdString());
    const QString dir = all.filePath(QString::number(++counter)) + "/";
    QDir().mkpath(dir);
    return dir.toStdString();
}

std::string withSound()
{
    return made("sound.avi", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                              "sine=frequency=440:sample_rate=44100:duration=2", "-ac", "2", "-c:v", "mpeg4", "-c:a",
                              "libmp3lame", "-shortest"});
}

std::string silentOddSize()
{
    return made("silent-odd.avi", {"-f", "lavfi", "-i", "testsrc=size=161x121:rate=30:duration=2", "-c:v", "mpeg4", "-an"});
}

std::string mpegWithMonoSound()
{
    return made("mono.mpg", {"-f", "lavfi", "-i", "testsrc2=size=176x144:rate=25:duration=1.5", "-f", "lavfi", "-i",
                             "sine=frequency=300:sample_rate=32000:duration=1.5", "-r", "24", "-c:v", "mpeg1video",
                             "-c:a", "mp2", "-ac", "1", "-f", "mpeg"});
}

std::string mpeg2ProgramStream()
{
    return made("program2.mpg", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=3", "-f", "lavfi", "-i",
                                 "sine=frequency=440:sample_rate=48000:duration=3", "-c:v", "mpeg2video", "-c:a", "mp2",
                                 "-shortest", "-f", "mpeg"});
}

std::string frameCounter()
{
    return made("counter.avi", {"-f", "lavfi", "-i", "color=c=black:size=160x120:rate=25:duration=3", "-f", "lavfi",
                                "-i", "sine=frequency=500:sample_rate=44100:duration=3", "-vf",
                                "geq=lum='N*4':cb=128:cr=128", "-c:v", "ffv1", "-c:a", "pcm_s16le", "-shortest"});
}

std::string longer()
{
    return made("longer.avi", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=12", "-f", "lavfi", "-i",
                               "sine=frequency=440:sample_rate=48000:duration=12", "-c:v", "mpeg4", "-q:v", "5", "-c:a",
                               "mp2", "-shortest"});
}

std::string truncated()
{
    const std::string path = folder() + "truncated.avi";
    if (QFile::exists(QString::fromStdString(path)))
        return path;
    const std::string bytes = contentOf(withSound());
    return fileWith("truncated.avi", bytes.substr(0, bytes.size() / 2));
}

std::string made(const std::string& name, const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& arg : args)
        list << QString::fromStdString(arg);
    return generated(name, list);
}

std::string joined(const std::string& name, const std::vector<std::string>& parts)
{
    if (QFile::exists(QString::fromStdString(folder() + name)))
        return folder() + name;
    std::string bytes;
    for (const std::string& part : parts)
        bytes += contentOf(part);
    return fileWith(name, bytes);
}

std::string surroundThenStereo()
{
    const auto part = [](const char* name, const char* channels, const char* offset) {
        return made(name, {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                           "sine=frequency=440:sample_rate=48000:duration=1", "-ac", channels, "-c:v", "mpeg2video",
                           "-c:a", "ac3", "-output_ts_offset", offset, "-f", "mpegts"});
    };
    return joined("surround-stereo.ts", {part("surround.ts", "6", "0"), part("stereo.ts", "2", "1")});
}

std::string stereoThenMonoMp2()
{
    const auto part = [](const char* name, const char* rate, const char* channels) {
        return made(name, {"-f", "lavfi", "-i", std::string("sine=frequency=440:duration=1:sample_rate=") + rate,
                           "-ac", channels, "-c:a", "mp2", "-f", "mp2"});
    };
    return joined("stereo-mono.mp2", {part("stereo.mp2", "44100", "2"), part("mono.mp2", "22050", "1")});
}

std::string contentOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path);
    return file.readAll().toStdString();
}

// Written beside the file and renamed onto it: test programs running at once write the same
// files, and one must never read a file that another is halfway through writing.
std::string fileWith(const std::string& name, const std::string& bytes)
{
    const std::string path = folder() + name;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("cannot write " + path);
    return path;
}

const Stream* Info::video() const { return streamOf(streams, "video"); }

const Stream* Info::audio() const { return streamOf(streams, "audio"); }

Info probe(const std::string& path)
{
    const QByteArray json = runTool("ffprobe", {"-v", "error", "-count_frames", "-show_format", "-show_streams", "-of",
                                                "json", QString::fromStdString(path)});
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    Info info;
    info.format = root["format"].toObject()["format_name"].toString().toStdString();
    info.duration = root["format"].toObject()["duration"].toString().toDouble();
    for (const QJsonValue& value : root["streams"].toArray()) {
        const QJsonObject s = value.toObject();
        const QString type = s["codec_type"].toString();
        if (type != "video" && type != "audio")
            continue;
        Stream stream;
        stream.type = type.toStdString();
        stream.codec = s["codec_name"].toString().toStdString();
        stream.width = s["width"].toInt();
        stream.height = s["height"].toInt();
        stream.fps = rate(s["r_frame_rate"].toString());
        stream.sampleRate = s["sample_rate"].toString().toInt();
        stream.channels = s["channels"].toInt();
        stream.frames = s["nb_read_frames"].toString().toLong();
        const double shape = rate(s["sample_aspect_ratio"].toString().replace(':', '/'));
        stream.sampleAspect = shape > 0 ? shape : 1.0;
        info.streams.push_back(stream);
    }
    return info;
}

int greyLevelOfFrame(const std::string& path, int n)
{
    const QByteArray grey = runTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-vf",
                                               QString("select=eq(n\\,%1)").arg(n), "-frames:v", "1", "-f",
                                               "rawvideo", "-pix_fmt", "gray", "-"});
    if (grey.isEmpty())
        return -1;
    long long sum = 0;
    for (char c : grey)
        sum += static_cast<unsigned char>(c);
    return int(sum / grey.size());
}

GreyPicture greyFrame(const std::string& path, int n)
{
    const Info info = probe(path);
    GreyPicture picture;
    if (!info.video())
        return picture;
    const QByteArray grey = runTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-vf",
                                               QString("select=eq(n\\,%1)").arg(n), "-frames:v", "1", "-f",
                                               "rawvideo", "-pix_fmt", "gray", "-"});
    if (grey.size() != qsizetype(info.video()->width) * info.video()->height)
        return picture;
    picture.width = info.video()->width;
    picture.height = info.video()->height;
    picture.levels.assign(grey.begin(), grey.end());
    return picture;
}

double soundSeconds(const std::string& path)
{
    const Info info = probe(path);
    if (!info.audio() || info.audio()->sampleRate <= 0)
        return 0.0;
    const QByteArray samples = runTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-map", "0:a:0",
                                                  "-ac", "1", "-f", "s16le", "-"});
    return samples.size() / 2.0 / info.audio()->sampleRate;
}

std::vector<short> monoSamples(const std::string& path, int rate)
{
    const QByteArray bytes = runTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), "-map", "0:a:0",
                                                "-ac", "1", "-ar", QString::number(rate), "-f", "s16le", "-"});
    std::vector<short> samples(std::size_t(bytes.size()) / 2);
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

double loudness(const std::vector<short>& samples, int rate, double from, double to)
{
    const auto first = std::size_t(std::max(0.0, from * rate));
    const auto last = std::min(samples.size(), std::size_t(std::max(0.0, to * rate)));
    if (last <= first)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i)
        sum += std::abs(int(samples[i]));
    return sum / double(last - first);
}

double pitch(const std::vector<short>& samples, int rate, double from, double to)
{
    const auto first = std::size_t(std::max(0.0, from * rate));
    const auto last = std::min(samples.size(), std::size_t(std::max(0.0, to * rate)));
    int crossings = 0;
    for (std::size_t i = first + 1; i < last; ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return last > first ? crossings / 2.0 / (double(last - first) / rate) : 0.0;
}

namespace {

// The values of one frame property that a filter prints, with each frame's time.
std::vector<std::pair<double, double>> printedValues(const std::string& path, const QString& stream,
                                                     const QString& filters, const QString& key)
{
    const bool video = stream == "v";
    const QString print = QString(video ? ",metadata" : ",ametadata") + "=print:key=" + key + ":file=-";
    const QByteArray text = runTool("ffmpeg", {"-v", "error", "-i", QString::fromStdString(path), video ? "-an" : "-vn",
                                               video ? "-vf" : "-af", filters + print, "-f", "null", "-"});
    std::vector<std::pair<double, double>> values;
    double time = 0.0;
    for (const QByteArray& line : text.split('\n')) {
        const int at = line.indexOf("pts_time:");
        if (at >= 0)
            time = line.mid(at + 9).trimmed().toDouble();
        else if (line.startsWith(key.toUtf8() + "="))
            values.emplace_back(time, line.mid(key.size() + 1).toDouble());
    }
    return values;
}

}  // namespace

std::vector<double> flashOnsets(const std::string& path)
{
    std::vector<double> onsets;
    bool bright = false;
    for (const auto& [time, level] : printedValues(path, "v", "signalstats", "lavfi.signalstats.YAVG")) {
        if (level > 128 && !bright)
            onsets.push_back(time);
        bright = level > 128;
    }
    return onsets;
}

std::vector<double> toneOnsets(const std::string& path)
{
    std::vector<double> onsets;
    for (const auto& entry : printedValues(path, "a", "silencedetect=n=-30dB:d=0.05", "lavfi.silence_end"))
        onsets.push_back(entry.second);
    return onsets;
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden))
        names.push_back(name.toStdString());
    return names;
}

}  // namespace TestMedia
