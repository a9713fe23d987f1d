// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

#include "ControlTest.h"
#include "dudidevar/plan/Mp4Plan.h"

namespace {

// What a player reads of an MP4 file: its brand, box order and streams as ffprobe states them.
struct Mp4View {
    QJsonObject format;
    QJsonObject video;
    QJsonObject audio;
    std::vector<std::string> boxes;  // top-level boxes in file order

    std::string brand() const { return format["tags"].toObject()["major_brand"].toString().toStdString(); }
    bool indexFirst() const
    {
        const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
        const auto mdat = std::find(boxes.begin(), boxes.end(), "mdat");
        return moov != boxes.end() && mdat != boxes.end() && moov < mdat;
    }
    static double number(const QJsonObject& stream, const char* key) { return stream[key].toString().toDouble(); }
    static std::string text(const QJsonObject& stream, const char* key) { return stream[key].toString().toStdString(); }
    static double rate(const QJsonObject& stream, const char* key)
    {
        const QStringList parts = stream[key].toString().split('/');
        return parts.size() == 2 && parts[1].toDouble() > 0 ? parts[0].toDouble() / parts[1].toDouble() : 0.0;
    }
    double videoEnd() const { return number(video, "start_time") + number(video, "duration"); }
    double audioEnd() const { return number(audio, "start_time") + number(audio, "duration"); }
};

std::vector<std::string> topLevelBoxes(const std::string& path)
{
    std::vector<std::string> boxes;
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::uint64_t fileSize = std::uint64_t(in.tellg());
    std::uint64_t at = 0;
    while (at + 8 <= fileSize) {
        unsigned char head[16] = {};
        in.seekg(std::streamoff(at));
        in.read(reinterpret_cast<char*>(head), 16);
        std::uint64_t size = (std::uint64_t(head[0]) << 24) | (head[1] << 16) | (head[2] << 8) | head[3];
        if (size == 1) {
            size = 0;
            for (int i = 8; i < 16; ++i)
                size = (size << 8) | head[i];
        } else if (size == 0) {
            size = fileSize - at;
        }
        boxes.emplace_back(reinterpret_cast<const char*>(head + 4), 4);
        if (size < 8)
            break;
        at += size;
    }
    return boxes;
}

Mp4View view(const std::string& path)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_format", "-show_streams", "-of", "json", QString::fromStdString(path)});
    EXPECT_TRUE(probe.waitForFinished(60000));
    const QJsonObject root = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    Mp4View v;
    v.format = root["format"].toObject();
    for (const QJsonValue& s : root["streams"].toArray()) {
        const QJsonObject stream = s.toObject();
        (stream["codec_type"].toString() == "video" ? v.video : v.audio) = stream;
    }
    v.boxes = topLevelBoxes(path);
    return v;
}

// 2 s, 640×360, 25 fps with sound at 48 kHz.
std::string wide()
{
    return TestMedia::made("wide.avi", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=2", "-f", "lavfi",
                                        "-i", "sine=frequency=440:sample_rate=48000:duration=2", "-c:v", "mpeg4",
                                        "-c:a", "mp2", "-shortest"});
}

class Mp4OutputTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        control.SetOutputFormat(9);
    }

    // Checks what every player needs of the file and that its streams keep the clips' length
    // and stay together.
    void expectPlayable(const Mp4View& v, double seconds, double fps)
    {
        EXPECT_TRUE(v.brand() == "isom" || v.brand() == "mp42") << v.brand();
        EXPECT_TRUE(v.indexFirst());
        EXPECT_EQ(Mp4View::text(v.video, "pix_fmt"), "yuv420p");
        EXPECT_NEAR(Mp4View::rate(v.video, "avg_frame_rate"), fps, 0.01);
        EXPECT_NEAR(Mp4View::number(v.video, "duration"), seconds, 1.0 / fps + 1e-3);
        if (v.audio.isEmpty())
            return;
        EXPECT_EQ(Mp4View::text(v.audio, "codec_name"), "aac");
        EXPECT_EQ(Mp4View::text(v.audio, "profile"), "LC");
        EXPECT_EQ(v.audio["channels"].toInt(), 2);
        EXPECT_NEAR(Mp4View::number(v.audio, "start_time"), Mp4View::number(v.video, "start_time"), 0.020);
        EXPECT_NEAR(v.audioEnd(), v.videoEnd(), 0.020 + 1.0 / fps);
    }
};

TEST_F(Mp4OutputTest, H264IsHighProfileAtAFittingLevelWithAacLcSound)
{
    addWhole(wide());
    control.SetAudioBitRate(128);
    const Mp4View v = view(convert("out.mp4"));
    expectPlayable(v, 2.0, 25.0);
    EXPECT_EQ(Mp4View::text(v.video, "codec_name"), "h264");
    EXPECT_EQ(Mp4View::text(v.video, "profile"), "High");
    EXPECT_EQ(v.video["level"].toInt(), 30);  // 3.0 holds 640×360 at 25 pictures a second
    EXPECT_EQ(v.video["width"].toInt(), 640);
    EXPECT_EQ(v.video["height"].toInt(), 360);
    EXPECT_NEAR(Mp4View::number(v.audio, "bit_rate"), 128000, 20000);
}

TEST_F(Mp4OutputTest, EveryCodecTheLibrariesHaveWritesWhatPlayersTake)
{
    const struct { short codec; const char* name; const char* tag; } codecs[] = {
        {Mp4Plan::H264, "h264", "avc1"}, {Mp4Plan::H265, "hevc", "hvc1"}, {Mp4Plan::Av1, "av1", "av01"}};
    addWhole(TestMedia::withSound());
    for (const auto& c : codecs) {
        if (!control.HasVideoCodec(c.codec))
            continue;
        control.SetVideoCodec(c.codec);
        control.SetSpeed(0);
        const Mp4View v = view(convert(std::string(c.name) + ".mp4"));
        SCOPED_TRACE(c.name);
        expectPlayable(v, 2.0, 25.0);
        EXPECT_EQ(Mp4View::text(v.video, "codec_name"), c.name);
        EXPECT_EQ(Mp4View::text(v.video, "codec_tag_string"), c.tag);
    }
    EXPECT_TRUE(control.HasVideoCodec(Mp4Plan::H264));
    EXPECT_FALSE(control.HasVideoCodec(3));
}

TEST_F(Mp4OutputTest, AChosenHeightKeepsTheShapeAndNeverEnlarges)
{
    const std::string anamorphic = TestMedia::made(
        "anamorphic.mkv", {"-f", "lavfi", "-i", "testsrc2=size=720x576:rate=25:duration=1", "-vf", "setsar=64/45",
                           "-c:v", "mpeg2video", "-an"});
    const struct { std::string source; short height; int width, shownHeight; const char* sar; } cases[] = {
        {wide(), 240, 426, 240, "1:1"},
        {wide(), 720, 640, 360, "1:1"},       // taller than the source: its own size
        {anamorphic, 360, 640, 360, "1:1"},                 // 16:9 in square pixels
        {anamorphic, 0, 720, 576, "64:45"},                 // original size keeps the shape flag
    };
    control.SetVideoCodec(Mp4Plan::H264);
    control.SetSpeed(0);
    int n = 0;
    for (const auto& c : cases) {
        control.ClearClips();
        control.AddVideoClip(c.source, 0, 1.0, c.height == 0 ? 1 : 0);
        control.SetOutputHeight(c.height);
        const Mp4View v = view(convert("size" + std::to_string(n++) + ".mp4"));
        SCOPED_TRACE(c.height);
        EXPECT_EQ(v.video["width"].toInt(), c.width);
        EXPECT_EQ(v.video["height"].toInt(), c.shownHeight);
        EXPECT_EQ(Mp4View::text(v.video, "sample_aspect_ratio"), c.sar);
        EXPECT_TRUE(v.audio.isEmpty());
    }
}

TEST_F(Mp4OutputTest, JoinedSourcesKeepTheirLengthAndSync)
{
    const std::string second = TestMedia::made(
        "second.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=30:duration=1.5", "-f", "lavfi", "-i",
                       "sine=frequency=660:sample_rate=48000:duration=1.5", "-c:v", "libx264", "-c:a", "aac"});
    addWhole(TestMedia::withSound());
    addWhole(second);
    control.SetSpeed(0);
    const double clips = control.GetDuration(TestMedia::withSound()) + control.GetDuration(second);
    expectPlayable(view(convert("joined.mp4")), clips, 25.0);
}

TEST_F(Mp4OutputTest, ASplitPartHoldsItsSpanAtTheAskedRate)
{
    const std::string source = wide();
    control.AddVideoClip(source, 0.5, 1.5, 0);
    control.AddAudioClip(source, 0.5, 1.5);
    control.SetFrameRate(30);
    control.SetSpeed(0);
    expectPlayable(view(convert("part.mp4")), 1.0, 30.0);
}

// The encoder's lead-in goes before the first source sample, where the edit list tells players
// to skip it: the sound opens with the source's own first samples, in a whole file and a part
// (mono made stereo, so softer, but in step sample for sample).
TEST_F(Mp4OutputTest, TheSoundKeepsItsFirstSamples)
{
    const std::string source = wide();
    const std::vector<short> original = TestMedia::monoSamples(source, 48000);
    control.SetSpeed(0);
    const struct { const char* name; double start; } cases[] = {{"whole.mp4", 0.0}, {"part.mp4", 0.5}};
    for (const auto& c : cases) {
        control.ClearClips();
        control.AddVideoClip(source, c.start, 1.5, 0);
        control.AddAudioClip(source, c.start, 1.5);
        const std::vector<short> out = TestMedia::monoSamples(convert(c.name), 48000);
        ASSERT_GE(out.size(), 1000u);
        const auto from = std::size_t(c.start * 48000);
        double together = 0.0, ours = 0.0, theirs = 0.0;
        for (std::size_t i = 0; i < 1000; ++i) {
            together += double(out[i]) * original[from + i];
            ours += double(out[i]) * out[i];
            theirs += double(original[from + i]) * original[from + i];
        }
        SCOPED_TRACE(c.name);
        EXPECT_GT(ours, 0.25 * theirs);
        EXPECT_GT(together / std::sqrt(ours * theirs), 0.9);
    }
}

TEST_F(Mp4OutputTest, AVariableRateSourceBecomesConstantAtItsAverage)
{
    // One second at 30 pictures a second, then one at 10: about 20 a second on average.
    const std::string source = TestMedia::made(
        "variable.mp4", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=30:duration=2", "-f", "lavfi", "-i",
                         "sine=frequency=440:sample_rate=48000:duration=2", "-vf",
                         "select='lt(t,1)+not(mod(n,3))'", "-fps_mode", "vfr", "-c:v", "mpeg4", "-c:a", "aac"});
    const double average = Mp4View::rate(view(source).video, "avg_frame_rate");
    ASSERT_LT(average, 25.0);
    addWhole(source);
    control.SetSpeed(0);
    const Mp4View v = view(convert("constant.mp4"));
    expectPlayable(v, 2.0, average);
    EXPECT_EQ(v.video["r_frame_rate"].toString(), v.video["avg_frame_rate"].toString());
}

TEST_F(Mp4OutputTest, ACodecNumberThatNamesNoneRefusesTheStart)
{
    addWhole(TestMedia::withSound());
    control.SetVideoCodec(5);
    EXPECT_FALSE(control.Convert(folder + "none.mp4"));
    EXPECT_NE(control.GetLastError().find("codec"), std::string::npos) << control.GetLastError();
}

TEST(Mp4PlanTest, PictureSizeFollowsTheShapeInEvenNumbers)
{
    const struct { SourceShape source; int height; bool original; int width, shownHeight, sarNum, sarDen; } cases[] = {
        {{1920, 1080, {25, 1}, {1, 1}, 0, {25, 1}}, 720, false, 1280, 720, 1, 1},
        {{1920, 1080, {25, 1}, {1, 1}, 0, {25, 1}}, 2160, false, 1920, 1080, 1, 1},
        {{1440, 1080, {25, 1}, {4, 3}, 0, {25, 1}}, 480, false, 854, 480, 1, 1},
        {{161, 121, {25, 1}, {1, 1}, 0, {25, 1}}, 0, true, 160, 120, 1, 1},
        {{720, 480, {30000, 1001}, {32, 27}, 0, {30000, 1001}}, 1080, false, 720, 480, 32, 27},
        {{1080, 1920, {30, 1}, {1, 1}, 0, {30, 1}}, 360, false, 202, 360, 1, 1},
        {{1920, 1080, {30, 1}, {1, 1}, 90, {30, 1}}, 360, false, 202, 360, 1, 1},  // a phone clip turned upright
        {{720, 480, {30000, 1001}, {32, 27}, 270, {30000, 1001}}, 0, true, 480, 720, 27, 32},
    };
    for (const auto& c : cases) {
        const Mp4Plan::PictureSize size = Mp4Plan::pictureSize(c.source, c.height, c.original);
        EXPECT_EQ(size.width, c.width) << c.source.width << "x" << c.source.height << " to " << c.height;
        EXPECT_EQ(size.height, c.shownHeight);
        EXPECT_EQ(size.sampleAspect.num, c.sarNum);
        EXPECT_EQ(size.sampleAspect.den, c.sarDen);
    }
}

TEST(Mp4PlanTest, FrameRateIsTheAskedOneTheSourcesOrItsAverage)
{
    const struct { AVRational guessed, average; double fps; AVRational expected; } cases[] = {
        {{30000, 1001}, {2997, 100}, 0, {30000, 1001}},  // steady: the exact rate, not the measured one
        {{30, 1}, {20, 1}, 0, {20, 1}},                  // varying: its average
        {{90000, 1}, {59939, 1000}, 0, {60000, 1001}},   // an implausible base rate; the average snapped
        {{0, 1}, {0, 1}, 0, {25, 1}},
        {{30, 1}, {20, 1}, 50, {50, 1}},
        {{25, 1}, {25, 1}, 29.97, {30000, 1001}},
    };
    for (const auto& c : cases) {
        SourceShape source{.width = 640, .height = 360, .frameRate = c.guessed, .sampleAspect = {1, 1}, .averageRate = c.average};
        const AVRational rate = Mp4Plan::frameRate(source, c.fps);
        EXPECT_EQ(av_cmp_q(rate, c.expected), 0) << rate.num << "/" << rate.den;
    }
}

TEST(Mp4PlanTest, H264LevelIsTheLowestThatHoldsSizeAndRate)
{
    // The same size needs a higher level at a higher rate.
    EXPECT_EQ(Mp4Plan::h264Level(1280, 720, {30, 1}), 31);
    EXPECT_EQ(Mp4Plan::h264Level(1280, 720, {60, 1}), 32);
    EXPECT_EQ(Mp4Plan::h264Level(3840, 2160, {60, 1}), 52);
    // A picture 8 × 4000 has few macroblocks but a side longer than any level allows at 3.
    EXPECT_GT(Mp4Plan::h264Level(16, 4000, {25, 1}), 30);
}

}  // namespace
