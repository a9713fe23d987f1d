#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "FrameTestMedia.h"
#include "dudidevar/FrameSaver.h"

namespace {

class FrameSaverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        // 60 frames at 10 per second, and 50 at 25 per second in a stream that starts at 0.5 s.
        ASSERT_TRUE(FrameTestMedia::makeGreyVideo(path("grey.avi"), 10, 6.0));
        ASSERT_TRUE(FrameTestMedia::makeGreyVideo(path("grey.mpg"), 25, 2.0));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static QString path(const QString& name) { return folder_->filePath(name); }
    static std::string file(const QString& name) { return path(name).toStdString(); }

    // Saves at the source's size and returns the frame number the picture shows.
    int frameAt(FrameSaver& saver, const char* video, double seconds)
    {
        const std::string picture = file("picture.bmp");
        QFile::remove(QString::fromStdString(picture));
        if (!saver.saveOriginalSize(file(video), seconds, picture))
            return -2;
        return FrameTestMedia::frameNumberOf(QImage(QString::fromStdString(picture)));
    }

    static std::unique_ptr<QTemporaryDir> folder_;
};

std::unique_ptr<QTemporaryDir> FrameSaverTest::folder_;

std::int32_t littleEndian(const QByteArray& bytes, int offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return size == 2 ? static_cast<std::int16_t>(value) : static_cast<std::int32_t>(value);
}

TEST_F(FrameSaverTest, PictureIsA24BitBottomUpBitmapAtTheSourceSize)
{
    FrameSaver saver;
    ASSERT_TRUE(saver.saveOriginalSize(file("grey.avi"), 1.0, file("one.bmp")));
    QFile bitmap(path("one.bmp"));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    const QByteArray bytes = bitmap.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(littleEndian(bytes, 18, 4), 64);
    EXPECT_EQ(littleEndian(bytes, 22, 4), 48);  // positive: rows stored bottom-up
    EXPECT_EQ(littleEndian(bytes, 28, 2), 24);
    const QImage picture(path("one.bmp"));
    EXPECT_EQ(picture.size(), QSize(64, 48));
    EXPECT_EQ(FrameTestMedia::frameNumberOf(picture), 10);
}

TEST_F(FrameSaverTest, SizedPictureHasTheGivenSizeAndOtherToolsReadIt)
{
    FrameSaver saver;
    ASSERT_TRUE(saver.saveSized(file("grey.avi"), 2.0, file("sized.bmp"), 352, 240));
    const QImage picture(path("sized.bmp"));
    EXPECT_EQ(picture.size(), QSize(352, 240));
    EXPECT_EQ(FrameTestMedia::frameNumberOf(picture), 20);

    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name,width,height,pix_fmt", "-of",
                            "csv=p=0", path("sized.bmp")});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), QByteArray("bmp,352,240,bgr24"));
}

TEST_F(FrameSaverTest, PictureIsTheFrameShownAtTheTimeNotTheNearestKeyFrame)
{
    FrameSaver saver;
    const std::vector<std::pair<double, int>> avi{{0.0, 0},   {0.05, 0},  {0.3, 3},   {0.999, 9},
                                                  {1.0, 10},  {2.55, 25}, {4.7, 47},  {5.95, 59}};
    for (const auto& [seconds, frame] : avi)
        EXPECT_EQ(frameAt(saver, "grey.avi", seconds), frame) << "at " << seconds << " s";
    // The program stream's first frame is at 0.54 s; times count from the start of the file.
    const std::vector<std::pair<double, int>> mpg{{0.0, 0}, {0.04, 1}, {0.5, 12}, {1.0, 25}, {1.99, 49}};
    for (const auto& [seconds, frame] : mpg)
        EXPECT_EQ(frameAt(saver, "grey.mpg", seconds), frame) << "at " << seconds << " s";
}

TEST_F(FrameSaverTest, RisingTimesDecodeForwardWithOneOpenDecoder)
{
    FrameSaver saver;
    for (int k = 0; k < 18; ++k)
        EXPECT_EQ(frameAt(saver, "grey.avi", k / 3.0), (k * 10) / 3) << "picture " << k;
    EXPECT_EQ(saver.grabber().openCount(), 1);
    EXPECT_EQ(saver.grabber().seekCount(), 0);
}

TEST_F(FrameSaverTest, EarlierAndFarLaterTimesSeekAndStayExact)
{
    FrameSaver saver;
    EXPECT_EQ(frameAt(saver, "grey.avi", 1.0), 10);
    EXPECT_EQ(saver.grabber().seekCount(), 0);
    EXPECT_EQ(frameAt(saver, "grey.avi", 5.3), 53);  // far ahead
    EXPECT_EQ(saver.grabber().seekCount(), 1);
    EXPECT_EQ(frameAt(saver, "grey.avi", 2.35), 23);  // behind
    EXPECT_EQ(saver.grabber().seekCount(), 2);
    EXPECT_EQ(frameAt(saver, "grey.avi", 0.1), 1);  // behind, close to the start
    EXPECT_EQ(frameAt(saver, "grey.avi", 0.2), 2);
    EXPECT_EQ(frameAt(saver, "grey.mpg", 1.5), 37);
    EXPECT_EQ(frameAt(saver, "grey.mpg", 0.3), 7);
    EXPECT_EQ(frameAt(saver, "grey.avi", 3.3), 33);
    EXPECT_EQ(saver.grabber().openCount(), 3);
}

// Frame n shows the digits of n as three grey blocks (hundreds, tens, units; level 16 + 20 ×
// digit), so a picture of a long video tells which frame it is.
int numberedFrameOf(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    int number = 0;
    for (int block = 0; block < 3; ++block) {
        const int level = qGray(picture.pixel(picture.width() * (2 * block + 1) / 6, picture.height() / 2));
        number = number * 10 + int(std::lround((level - 16) / 20.0));
    }
    return number;
}

double startOf(const QString& video, const char* stream)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", stream, "-show_entries", "stream=start_time", "-of",
                            "csv=p=0", video});
    probe.waitForFinished(30000);
    return probe.readAllStandardOutput().trimmed().split(',').first().toDouble();
}

// After a seek into an MPEG program stream with B-frames, the first pictures decoded can carry
// times that are a frame or more off.
TEST_F(FrameSaverTest, PictureAfterASeekIntoALongProgramStreamWithBFramesIsExact)
{
    const QString video = path("numbered.mpg");
    ASSERT_TRUE(FrameTestMedia::runFfmpeg(
        {"-f", "lavfi", "-i",
         "color=black:s=96x48:r=25:d=40,format=gray,geq=lum='16+20*if(lt(X\\,32)\\,floor(N/100)\\,"
         "if(lt(X\\,64)\\,mod(floor(N/10)\\,10)\\,mod(N\\,10)))'",
         "-f", "lavfi", "-i", "sine=duration=40", "-pix_fmt", "yuv420p", "-c:v", "mpeg2video", "-b:v", "2000k",
         "-bf", "2", "-g", "15", "-c:a", "mp2", "-f", "mpeg", video}));
    // The picture starts a little after the sound, and times count from the start of the file.
    const double lead = startOf(video, "v:0") - startOf(video, "a:0");
    ASSERT_GT(lead, 0.0);
    const auto shownAt = [&](int frame) { return lead + (frame + 0.5) / 25.0; };
    const std::string picture = file("numbered.bmp");
    for (int frame : {275, 308, 750, 725, 137, 880}) {
        FrameSaver saver;  // every time the first call on the file, so it seeks
        ASSERT_TRUE(saver.saveOriginalSize(video.toStdString(), shownAt(frame), picture)) << frame;
        EXPECT_EQ(numberedFrameOf(QImage(QString::fromStdString(picture))), frame);
    }
    FrameSaver saver;
    for (int frame : {275, 308, 750, 12, 999}) {
        ASSERT_TRUE(saver.saveOriginalSize(video.toStdString(), shownAt(frame), picture)) << frame;
        EXPECT_EQ(numberedFrameOf(QImage(QString::fromStdString(picture))), frame) << "in a row";
    }
}

TEST_F(FrameSaverTest, TimesOutsideTheVideoWriteNothing)
{
    FrameSaver saver;
    const std::string picture = file("outside.bmp");
    for (double seconds : {6.0, 6.5, 100.0, 1.0e12, -0.5, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), seconds, picture)) << "at " << seconds << " s";
        EXPECT_FALSE(QFile::exists(path("outside.bmp")));
    }
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.mpg"), 2.0, picture));
    EXPECT_EQ(frameAt(saver, "grey.avi", 5.99), 59);
}

TEST_F(FrameSaverTest, UnreadableSourcesWriteNothing)
{
    QFile random(path("random.avi"));
    ASSERT_TRUE(random.open(QIODevice::WriteOnly));
    QByteArray noise(20000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    random.write(noise);
    random.close();
    QFile text(path("text.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a video\n");
    text.close();
    QFile(path("empty.avi")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QDir(path("")).mkpath("folder.avi"));
    ASSERT_TRUE(FrameTestMedia::runFfmpeg({"-f", "lavfi", "-i", "sine=d=1", path("sound.wav")}));

    FrameSaver saver;
    for (const char* source : {"missing.avi", "random.avi", "text.avi", "empty.avi", "folder.avi", "sound.wav"}) {
        EXPECT_FALSE(saver.saveOriginalSize(file(source), 0.0, file("bad.bmp"))) << source;
        EXPECT_FALSE(QFile::exists(path("bad.bmp"))) << source;
    }
    EXPECT_EQ(frameAt(saver, "grey.avi", 0.5), 5);
}

// Opening a named pipe for reading waits for a writer that never comes.
TEST_F(FrameSaverTest, NamedPipeIsRefusedWithoutWaiting)
{
    const std::string pipe = file("pipe.avi");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto saving = std::async(std::launch::async, [&] {
        FrameSaver saver;
        return saver.saveOriginalSize(pipe, 0.0, file("pipe.bmp"));
    });
    const bool answered = saving.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!answered)
        ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));  // lets the waiting call go on
    EXPECT_TRUE(answered);
    EXPECT_FALSE(saving.get());
    EXPECT_FALSE(QFile::exists(path("pipe.bmp")));
}

TEST_F(FrameSaverTest, UnwritableOrUnsafeTargetsWriteNothing)
{
    FrameSaver saver;
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 1.0, file("no-such-folder/a.bmp")));
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 1.0, ""));
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 1.0, path("").toStdString()));

    QFile existing(path("existing.bmp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep");
    existing.close();
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 7.0, file("existing.bmp")));
    for (auto [width, height] : {std::pair{0, 48}, {64, -1}, {20000, 48}})
        EXPECT_FALSE(saver.saveSized(file("grey.avi"), 1.0, file("existing.bmp"), width, height));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep"));
    existing.close();

    // A picture written over its own video would destroy the video.
    const qint64 size = QFile(path("grey.avi")).size();
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 1.0, file("grey.avi")));
    EXPECT_FALSE(saver.saveOriginalSize(file("grey.avi"), 1.0, file("./grey.avi")));
    EXPECT_EQ(QFile(path("grey.avi")).size(), size);
}

}  // namespace
