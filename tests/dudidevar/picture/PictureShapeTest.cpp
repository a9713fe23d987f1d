// SPDX-License-Identifier: GPL-3.0-or-later
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QString>
#include <cmath>
#include <cstring>

#include "ControlTest.h"
#include "dudidevar/preview/PreviewPlayer.h"
#include "dudidevar/widgets/PreviewSurface.h"

namespace {

// Output format codes.
constexpr long kVcdPal = 0, kVcdNtsc = 1, kSvcdPal = 2, kDvdPal = 4, kDvdNtsc = 5, kMpeg = 6, kAvi = 7, kWmv = 8;

// A still grey picture with a white square in its stored top-left corner, 1 s at 25 frames a
// second unless told.
std::string markedClip(const std::string& name, int width, int height, const std::vector<std::string>& output,
                       const std::string& rate = "25", const std::string& seconds = "1")
{
    const int marker = std::max(2, std::min(width, height) / 4);
    std::vector<std::string> args{"-f", "lavfi", "-i",
                                  "color=c=gray:s=" + std::to_string(width) + "x" + std::to_string(height) +
                                      ":r=" + rate + ":d=" + seconds + ",drawbox=x=0:y=0:w=" + std::to_string(marker) +
                                      ":h=" + std::to_string(marker) + ":color=white:t=fill"};
    args.insert(args.end(), output.begin(), output.end());
    return TestMedia::made(name, args);
}

// A phone's clip: stored 320×180, shown turned by `rotation` degrees clockwise, as its track
// header's matrix says.
std::string phoneClip(int rotation)
{
    const std::string name = "shape-phone-" + std::to_string(rotation) + ".mp4";
    const std::string plain = markedClip("shape-phone.mp4", 320, 180, {"-c:v", "libx264", "-pix_fmt", "yuv420p"});
    std::string bytes = TestMedia::contentOf(plain);
    const std::int32_t identity[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
    const std::int32_t turned[3][9] = {{0, 0x10000, 0, -0x10000, 0, 0, 180 << 16, 0, 0x40000000},
                                       {-0x10000, 0, 0, 0, -0x10000, 0, 320 << 16, 180 << 16, 0x40000000},
                                       {0, -0x10000, 0, 0x10000, 0, 0, 0, 320 << 16, 0x40000000}};
    const auto bigEndian = [](const std::int32_t* values) {
        std::string out;
        for (int i = 0; i < 9; ++i)
            for (int shift = 24; shift >= 0; shift -= 8)
                out += char((std::uint32_t(values[i]) >> shift) & 0xff);
        return out;
    };
    const std::size_t at = bytes.find(bigEndian(identity), bytes.find("tkhd"));
    if (at == std::string::npos)
        return {};
    bytes.replace(at, 36, bigEndian(turned[rotation / 90 - 1]));
    return TestMedia::fileWith(name, bytes);
}

// A wide PAL recording: 720×576 with pixels of shape 16:11.
std::string widePalClip()
{
    return markedClip("shape-wide-pal.mp4", 720, 576, {"-vf", "setsar=16/11", "-c:v", "mpeg4", "-q:v", "5"});
}

// The part of a picture that is not black, and where its white marker lies within it.
struct Visible {
    int left = 0, top = 0, right = -1, bottom = -1;
    double markerX = 0.0, markerY = 0.0;  // 0..1 across the visible part

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Visible visibleIn(const TestMedia::GreyPicture& picture)
{
    Visible v{picture.width, picture.height, -1, -1};
    double sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int level = picture.at(x, y);
            if (level > 60) {
                v.left = std::min(v.left, x);
                v.right = std::max(v.right, x);
                v.top = std::min(v.top, y);
                v.bottom = std::max(v.bottom, y);
            }
            if (level > 200) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    if (count > 0 && v.width() > 0 && v.height() > 0) {
        v.markerX = (sumX / count - v.left) / v.width();
        v.markerY = (sumY / count - v.top) / v.height();
    }
    return v;
}

TestMedia::GreyPicture greyOf(const QImage& image)
{
    TestMedia::GreyPicture picture{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            picture.levels.push_back((unsigned char)qGray(image.pixel(x, y)));
    return picture;
}

// What a player shows of an output: the visible picture's shape and the frame's shape.
struct Shown {
    double picture = 0.0;
    double frame = 0.0;
    Visible visible;
};

Shown shownBy(const std::string& output, int frame = 10)
{
    const TestMedia::Info info = TestMedia::probe(output);
    const TestMedia::GreyPicture picture = TestMedia::greyFrame(output, frame);
    Shown shown;
    if (!info.video() || picture.width == 0)
        return shown;
    const double sar = info.video()->sampleAspect;
    shown.visible = visibleIn(picture);
    shown.picture = sar * shown.visible.width() / shown.visible.height();
    shown.frame = sar * info.video()->width / info.video()->height;
    return shown;
}

// Whether the disc authoring tools take an output: dvdauthor for DVD (which also reads its shape
// flag), vcdimager for (S)VCD.
bool authors(const std::string& output, long code, const std::string& folder, QString* said)
{
    QProcess tool;
    tool.setWorkingDirectory(QString::fromStdString(folder));
    if (code == kDvdPal || code == kDvdNtsc)
        tool.start("dvdauthor", {"-o", QString::fromStdString(folder + "dvd"), "-t", QString::fromStdString(output)});
    else
        tool.start("vcdimager", {"-t", code <= kVcdNtsc ? "vcd2" : "svcd", "-c", "disc.cue", "-b", "disc.bin",
                                 QString::fromStdString(output)});
    const bool ran = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit;
    *said = tool.readAllStandardOutput() + tool.readAllStandardError();
    // dvdauthor takes a shape it does not know with a warning only.
    return ran && tool.exitCode() == 0 && !said->contains("ERR", Qt::CaseInsensitive) &&
           !said->contains("unknown mpeg2 aspect") && !said->contains("not autodetected");
}

class PictureShapeTest : public ControlTest {
protected:
    std::string convertTo(long code, const std::string& source, const std::string& name, short keepSize = 0,
                          double start = 0.0, double end = 1.0)
    {
        control.ClearClips();
        control.SetOutputFormat(code);
        control.AddVideoClip(source, start, end, keepSize);
        return convert(name);
    }
};

// A phone's portrait clip is a portrait picture in every output, its top-left marker where the
// player shows it.
TEST_F(PictureShapeTest, TurnedClipsAreUprightEverywhere)
{
    const struct {
        int rotation;
        double markerX, markerY;  // where the stored top-left corner shows
    } cases[] = {{90, 1, 0}, {180, 1, 1}, {270, 0, 1}};
    for (const auto& c : cases) {
        const std::string phone = phoneClip(c.rotation);
        ASSERT_FALSE(phone.empty());
        const double shape = c.rotation == 180 ? 320.0 / 180 : 180.0 / 320;
        const std::string tag = std::to_string(c.rotation);
        const Shown avi = shownBy(convertTo(kAvi, phone, tag + ".avi", 1));
        EXPECT_NEAR(avi.picture / shape, 1.0, 0.01) << tag;
        EXPECT_NEAR(avi.visible.markerX, c.markerX, 0.2) << tag;
        EXPECT_NEAR(avi.visible.markerY, c.markerY, 0.2) << tag;

        const std::string still = folder + tag + ".bmp";
        ASSERT_TRUE(control.SaveFrame(phone, 0.5, still));
        const Visible picture = visibleIn(greyOf(QImage(QString::fromStdString(still))));
        EXPECT_NEAR(double(picture.width()) / picture.height(), shape, 0.01) << tag;
        EXPECT_NEAR(picture.markerX, c.markerX, 0.2) << tag;
        EXPECT_NEAR(picture.markerY, c.markerY, 0.2) << tag;
    }

    const std::string phone = phoneClip(90);
    EXPECT_EQ(control.GetVideoWidth(phone), 180);
    EXPECT_EQ(control.GetVideoHeight(phone), 320);
    // A DVD and a split part: pillarboxed into the 4:3 frame.
    for (const std::string& dvd : {convertTo(kDvdPal, phone, "dvd.mpg"), convertTo(kDvdPal, phone, "part.mpg", 0, 0.4)}) {
        const Shown shown = shownBy(dvd, 5);
        EXPECT_NEAR(shown.frame, 4.0 / 3, 0.01);
        EXPECT_NEAR(shown.picture / (180.0 / 320), 1.0, 0.01);
        EXPECT_NEAR(shown.visible.markerX, 1.0, 0.2);
        EXPECT_NEAR(shown.visible.markerY, 0.0, 0.2);
    }
}

TEST_F(PictureShapeTest, ThePreviewShowsATurnedClipUpright)
{
    PreviewSurface surface;
    surface.resize(249, 175);
    surface.show();
    PreviewPlayer player(&surface, PreviewPlayer::Sound::Silent);
    ASSERT_TRUE(player.start({{phoneClip(90), 0.0, 1.0, false}}, {}));
    QElapsedTimer clock;
    clock.start();
    while (surface.picturesShown() == 0 && clock.elapsed() < 5000)
        RunRecorder::pump(10);
    const QImage picture = surface.picture();
    player.stop();
    ASSERT_FALSE(picture.isNull());
    const Visible shown = visibleIn(greyOf(picture));
    EXPECT_NEAR(double(shown.width()) / shown.height(), 180.0 / 320, 0.02);
    EXPECT_NEAR(shown.markerX, 1.0, 0.2);
    EXPECT_NEAR(shown.markerY, 0.0, 0.2);
}

// Pixels that are not square show at their shape where the target has no shape flag: Windows
// Media, AVI and still pictures at square pixels, with bars where the size asked for is of
// another shape.
TEST_F(PictureShapeTest, NonSquarePixelsKeepTheirShapeWithoutAFlag)
{
    const std::string widePal = widePalClip();
    const std::string dvPal = markedClip("shape-dv-pal.dv", 720, 576,
                                         {"-vf", "setsar=16/15", "-pix_fmt", "yuv420p", "-c:v", "dvvideo", "-f", "dv"});
    const struct {
        std::string source;
        double shape;
    } sources[] = {{widePal, 720.0 * 16 / 11 / 576}, {dvPal, 4.0 / 3}};
    for (const auto& s : sources) {
        for (long code : {kWmv, kAvi}) {
            const Shown shown = shownBy(convertTo(code, s.source, "out" + std::to_string(code), code == kAvi));
            EXPECT_NEAR(shown.frame / s.shape, 1.0, 0.01) << s.source << " " << code;
            EXPECT_NEAR(shown.picture / s.shape, 1.0, 0.01) << s.source << " " << code;
        }
        control.SetOutputWidth(320);
        control.SetOutputHeight(240);
        const Shown sized = shownBy(convertTo(kAvi, s.source, "sized.avi"));
        EXPECT_NEAR(sized.picture / s.shape, 1.0, 0.01) << s.source;

        const std::string original = folder + "original.bmp";
        const std::string small = folder + "small.bmp";
        ASSERT_TRUE(control.SaveFrame(s.source, 0.5, original));
        ASSERT_TRUE(control.SaveFrameSized(s.source, 0.5, small, 320, 240));
        for (const std::string& still : {original, small}) {
            const Visible v = visibleIn(greyOf(QImage(QString::fromStdString(still))));
            EXPECT_NEAR(double(v.width()) / v.height() / s.shape, 1.0, 0.01) << s.source << " " << still;
        }
    }
}

// Discs flag only the shapes they allow; the picture keeps its own inside, between bars, and
// the authoring tools take the result.
TEST_F(PictureShapeTest, DiscOutputsFlagAnAllowedShapeAndKeepThePicturesShape)
{
    const std::string cinema = markedClip("shape-cinema.avi", 640, 272, {"-c:v", "mpeg4", "-q:v", "5"});
    const std::string cif = markedClip("shape-cif.avi", 352, 288, {"-c:v", "mpeg4", "-q:v", "5"});
    const std::string tiny = markedClip("shape-tiny16.avi", 16, 16, {"-c:v", "mpeg4", "-q:v", "2"});
    const struct {
        std::string source;
        double shape;
        long code;
        double frame;
    } cases[] = {
        {cinema, 640.0 / 272, kDvdPal, 16.0 / 9}, {cif, 352.0 / 288, kDvdPal, 4.0 / 3},
        {cinema, 640.0 / 272, kDvdNtsc, 16.0 / 9}, {cif, 352.0 / 288, kSvcdPal, 4.0 / 3},
        {cinema, 640.0 / 272, kVcdNtsc, 4.0 / 3}, {tiny, 1.0, kVcdPal, 4.0 / 3},
        {widePalClip(), 720.0 * 16 / 11 / 576, kMpeg, 16.0 / 9},  // other MPEG-2: its flags only
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string out = convertTo(c.code, c.source, "disc" + std::to_string(n++) + ".mpg");
        const Shown shown = shownBy(out);
        EXPECT_NEAR(shown.frame / c.frame, 1.0, 0.01) << c.source << " " << c.code;
        EXPECT_NEAR(shown.picture / c.shape, 1.0, 0.01) << c.source << " " << c.code;
        QString said;
        EXPECT_TRUE(c.code == kMpeg || authors(out, c.code, folder, &said)) << c.source << " " << c.code << ": " << said.toStdString();
    }
}

// Tiny, odd and large pictures convert to the targets with their whole length. (A still
// picture makes small frames that share a program stream's packets, only the first with a time.)
TEST_F(PictureShapeTest, AnySizeConvertsToEveryTargetWholly)
{
    const struct {
        int width, height;
        const char* rate;
        const char* seconds;
        std::vector<std::string> codec;
        std::vector<long> targets;
    } sizes[] = {
        {16, 16, "30", "3", {"-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", "ultrafast"},
         {kVcdPal, kSvcdPal, kDvdPal, kDvdNtsc, kAvi, kWmv}},
        {17, 15, "25", "1", {"-pix_fmt", "yuv420p", "-c:v", "ffv1"}, {kVcdNtsc, kDvdNtsc, kAvi, kWmv}},
        {721, 577, "24", "1", {"-pix_fmt", "yuv444p", "-c:v", "libx264", "-preset", "ultrafast"}, {kSvcdPal, kAvi}},
        {3840, 2160, "25", "0.4", {"-c:v", "mpeg4", "-q:v", "10"}, {kDvdPal, kWmv}},
    };
    for (const auto& size : sizes) {
        const std::string tag = std::to_string(size.width) + "x" + std::to_string(size.height);
        const std::string source =
            markedClip("shape-still-" + tag + ".mkv", size.width, size.height, size.codec, size.rate, size.seconds);
        const double length = control.GetDuration(source);
        EXPECT_NEAR(length, std::stod(size.seconds), 0.05) << tag;
        for (long code : size.targets) {
            const std::string output = convertTo(code, source, tag + "-" + std::to_string(code), 1, 0.0, length);
            const TestMedia::Info info = TestMedia::probe(output);
            ASSERT_TRUE(info.video()) << tag << " " << code;
            EXPECT_NEAR(info.video()->frames / info.video()->fps, length, 1.01 / info.video()->fps)
                << tag << " " << code;
        }
    }
}

}  // namespace
