// SPDX-License-Identifier: GPL-3.0-or-later
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

#include "FrameTestMedia.h"
#include "dudidevar/stills/FrameSaver.h"

namespace {

using FrameTestMedia::frameNumberIn;

class FrameSaverTest : public ::testing::Test {
protected:
    // 60 frames at 10 per second, and 50 at 25 per second in a stream that starts at 0.5 s.
    const std::string avi = FrameTestMedia::greyVideo(10, 6);
    const std::string mpg = FrameTestMedia::greyVideo(25, 2, ".mpg");
    const std::string folder = TestMedia::scratchFolder();

    // Saves at the source's size and returns the frame number the picture shows.
    int frameAt(FrameSaver& saver, const std::string& video, double seconds)
    {
        const std::string picture = folder + "picture.bmp";
        QFile::remove(QString::fromStdString(picture));
        return saver.saveOriginalSize(video, seconds, picture) ? frameNumberIn(picture) : -2;
    }
};

std::int32_t littleEndian(const std::string& bytes, std::size_t offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + std::size_t(i)]);
    return size == 2 ? static_cast<std::int16_t>(value) : static_cast<std::int32_t>(value);
}

TEST_F(FrameSaverTest, PictureIsA24BitBottomUpBitmapAtTheSourceOrTheGivenSize)
{
    FrameSaver saver;
    ASSERT_TRUE(saver.saveOriginalSize(avi, 1.0, folder + "one.bmp"));
    const std::string bytes = TestMedia::contentOf(folder + "one.bmp");
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(littleEndian(bytes, 18, 4), 64);
    EXPECT_EQ(littleEndian(bytes, 22, 4), 48);  // positive: rows stored bottom-up
    EXPECT_EQ(littleEndian(bytes, 28, 2), 24);
    EXPECT_EQ(frameNumberIn(folder + "one.bmp"), 10);

    ASSERT_TRUE(saver.saveSized(avi, 2.0, folder + "sized.bmp", 352, 240));
    EXPECT_EQ(frameNumberIn(folder + "sized.bmp"), 20);
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name,width,height,pix_fmt", "-of",
                            "csv=p=0", QString::fromStdString(folder + "sized.bmp")});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), QByteArray("bmp,352,240,bgr24"));
}

TEST_F(FrameSaverTest, PictureIsTheFrameShownAtTheTimeNotTheNearestKeyFrame)
{
    FrameSaver saver;
    const std::vector<std::pair<double, int>> aviTimes{{0.0, 0},  {0.05, 0},  {0.3, 3},  {0.999, 9},
                                                       {1.0, 10}, {2.55, 25}, {4.7, 47}, {5.95, 59}};
    for (const auto& [seconds, frame] : aviTimes)
        EXPECT_EQ(frameAt(saver, avi, seconds), frame) << "at " << seconds << " s";
    // The program stream's first frame is at 0.54 s; times count from the start of the file.
    const std::vector<std::pair<double, int>> mpgTimes{{0.0, 0}, {0.04, 1}, {0.5, 12}, {1.0, 25}, {1.99, 49}};
    for (const auto& [seconds, frame] : mpgTimes)
        EXPECT_EQ(frameAt(saver, mpg, seconds), frame) << "at " << seconds << " s";
}

TEST_F(FrameSaverTest, RisingTimesDecodeForwardAndOnlyEarlierOrFarLaterTimesSeek)
{
    FrameSaver rising;
    for (int k = 0; k < 18; ++k)
        EXPECT_EQ(frameAt(rising, avi, k / 3.0), (k * 10) / 3) << "picture " << k;
    EXPECT_EQ(rising.grabber().openCount(), 1);
    EXPECT_EQ(rising.grabber().seekCount(), 0);

    FrameSaver saver;
    EXPECT_EQ(frameAt(saver, avi, 1.0), 10);
    EXPECT_EQ(saver.grabber().seekCount(), 0);
    EXPECT_EQ(frameAt(saver, avi, 5.3), 53);  // far ahead
    EXPECT_EQ(saver.grabber().seekCount(), 1);
    EXPECT_EQ(frameAt(saver, avi, 2.35), 23);  // behind
    EXPECT_EQ(saver.grabber().seekCount(), 2);
    EXPECT_EQ(frameAt(saver, avi, 0.1), 1);  // behind, close to the start
    EXPECT_EQ(frameAt(saver, avi, 0.2), 2);
    EXPECT_EQ(frameAt(saver, mpg, 1.5), 37);
    EXPECT_EQ(frameAt(saver, mpg, 0.3), 7);
    EXPECT_EQ(frameAt(saver, avi, 3.3), 33);
    EXPECT_EQ(saver.grabber().openCount(), 3);
}

// Frame n shows the digits of n as three grey blocks (hundreds, tens, units; level 16 + 20 ×
// digit), so a picture of a long video tells which frame it is.
int numberedFrameIn(const std::string& path)
{
    const QImage picture(QString::fromStdString(path));
    if (picture.isNull())
        return -1;
    int number = 0;
    for (int block = 0; block < 3; ++block) {
        const int level = qGray(picture.pixel(picture.width() * (2 * block + 1) / 6, picture.height() / 2));
        number = number * 10 + int(std::lround((level - 16) / 20.0));
    }
    return number;
}

double startOf(const std::string& video, const char* stream)
{
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", stream, "-show_entries", "stream=start_time", "-of",
                            "csv=p=0", QString::fromStdString(video)});
    probe.waitForFinished(30000);
    return probe.readAllStandardOutput().trimmed().split(',').first().toDouble();
}

// After a seek into an MPEG program stream with B-frames, the first pictures decoded can carry
// times that are a frame or more off.
TEST_F(FrameSaverTest, PictureAfterASeekIntoALongProgramStreamWithBFramesIsExact)
{
    const std::string video = TestMedia::made(
        "numbered.mpg", {"-f", "lavfi", "-i",
                         "color=black:s=96x48:r=25:d=40,format=gray,geq=lum='16+20*if(lt(X\\,32)\\,floor(N/100)\\,"
                         "if(lt(X\\,64)\\,mod(floor(N/10)\\,10)\\,mod(N\\,10)))'",
                         "-f", "lavfi", "-i", "sine=duration=40", "-pix_fmt", "yuv420p", "-c:v", "mpeg2video",
                         "-b:v", "2000k", "-bf", "2", "-g", "15", "-c:a", "mp2", "-f", "mpeg"});
    // The picture starts a little after the sound, and times count from the start of the file.
    const double lead = startOf(video, "v:0") - startOf(video, "a:0");
    ASSERT_GT(lead, 0.0);
    const auto shownAt = [&](int frame) { return lead + (frame + 0.5) / 25.0; };
    const std::string picture = folder + "numbered.bmp";
    for (int frame : {275, 308, 750, 725, 137, 880}) {
        FrameSaver saver;  // every time the first call on the file, so it seeks
        ASSERT_TRUE(saver.saveOriginalSize(video, shownAt(frame), picture)) << frame;
        EXPECT_EQ(numberedFrameIn(picture), frame);
    }
    FrameSaver saver;
    for (int frame : {275, 308, 750, 12, 999}) {
        ASSERT_TRUE(saver.saveOriginalSize(video, shownAt(frame), picture)) << frame;
        EXPECT_EQ(numberedFrameIn(picture), frame) << "in a row";
    }
}

TEST_F(FrameSaverTest, TimesOutsideTheVideoAndUnreadableSourcesWriteNothing)
{
    FrameSaver saver;
    const std::string picture = folder + "bad.bmp";
    for (double seconds : {6.1, 6.5, 100.0, 1.0e12, -0.5, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(saver.saveOriginalSize(avi, seconds, picture)) << "at " << seconds << " s";
        EXPECT_FALSE(QFile::exists(QString::fromStdString(picture)));
    }
    EXPECT_FALSE(saver.saveOriginalSize(mpg, 2.1, picture));

    std::string noise(20000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    const std::string sources[] = {folder + "missing.avi", TestMedia::fileWith("picture-noise.avi", noise),
                                   TestMedia::fileWith("picture-text.avi", "not a video\n"), TestMedia::fileWith("picture-empty.avi", ""),
                                   folder, TestMedia::made("sound.wav", {"-f", "lavfi", "-i", "sine=d=1"})};
    for (const std::string& source : sources) {
        EXPECT_FALSE(saver.saveOriginalSize(source, 0.0, picture)) << source;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(picture))) << source;
    }
    // The last picture is shown until the video's end, and a little past it for a rounded end.
    for (double seconds : {5.99, 6.0, 6.05})
        EXPECT_EQ(frameAt(saver, avi, seconds), 59) << "at " << seconds << " s";
    EXPECT_EQ(saver.lastError(), "");
    EXPECT_FALSE(saver.saveOriginalSize(avi, 6.051, picture));
    EXPECT_EQ(saver.lastError(), "there is no picture at 6.1 s: the video ends at 6.0 s");
}

// Opening a named pipe for reading waits for a writer that never comes.
TEST_F(FrameSaverTest, NamedPipeIsRefusedWithoutWaiting)
{
    const std::string pipe = folder + "pipe.avi";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto saving = std::async(std::launch::async, [&] {
        FrameSaver saver;
        return saver.saveOriginalSize(pipe, 0.0, folder + "pipe.bmp");
    });
    const bool answered = saving.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!answered)
        ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));  // lets the waiting call go on
    EXPECT_TRUE(answered);
    EXPECT_FALSE(saving.get());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "pipe.bmp")));
}

TEST_F(FrameSaverTest, UnwritableOrUnsafeTargetsWriteNothing)
{
    FrameSaver saver;
    EXPECT_FALSE(saver.saveOriginalSize(avi, 1.0, folder + "no-such-folder/a.bmp"));
    EXPECT_FALSE(saver.saveOriginalSize(avi, 1.0, ""));
    EXPECT_FALSE(saver.saveOriginalSize(avi, 1.0, folder));

    const std::string existing = folder + "existing.bmp";
    QFile file(QString::fromStdString(existing));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    EXPECT_FALSE(saver.saveOriginalSize(avi, 7.0, existing));
    for (auto [width, height] : {std::pair{0, 48}, {64, -1}, {20000, 48}})
        EXPECT_FALSE(saver.saveSized(avi, 1.0, existing, width, height));
    EXPECT_EQ(TestMedia::contentOf(existing), "keep");

    // A picture written over its own video would destroy the video.
    const std::string video = TestMedia::contentOf(avi);
    EXPECT_FALSE(saver.saveOriginalSize(avi, 1.0, avi));
    EXPECT_FALSE(saver.saveOriginalSize(avi, 1.0, TestMedia::folder() + "./" + avi.substr(TestMedia::folder().size())));
    EXPECT_TRUE(TestMedia::contentOf(avi) == video);
}

// A picture that does not fit on its disk says so, as a conversion does; the disk keeps nothing
// of it. The disk is a 64 KiB memory file system, where the test may mount one.
TEST_F(FrameSaverTest, AFullDiskIsToldAsSuch)
{
    const std::string small = folder + "small-disk";
    ASSERT_EQ(::mkdir(small.c_str(), 0700), 0);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no memory file system can be mounted here: " << std::strerror(errno);
    FrameSaver saver;
    const bool saved = saver.saveSized(avi, 1.0, small + "/big.bmp", 640, 480);
    const std::vector<std::string> left = TestMedia::filesIn(small + "/");
    ::umount(small.c_str());
    EXPECT_FALSE(saved);
    EXPECT_EQ(saver.lastError(), "the disk is full while writing " + small + "/big.bmp");
    EXPECT_TRUE(left.empty());
}

// Pictures of one video at rising times are one run, which looks through the folder for killed
// runs' leftovers once: one left meanwhile waits for the next run (an earlier time again).
TEST_F(FrameSaverTest, ARunOfPicturesSweepsItsFolderOnce)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string leftover = folder + ".x.bmp.part-" + std::to_string(child) + "-a1B2c3";
    FrameSaver saver;
    ASSERT_TRUE(saver.saveOriginalSize(avi, 1.0, folder + "a_1.bmp"));
    ASSERT_TRUE(QFile(QString::fromStdString(leftover)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(saver.saveOriginalSize(avi, 2.0, folder + "a_2.bmp"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(leftover)));
    ASSERT_TRUE(saver.saveOriginalSize(avi, 1.0, folder + "a_1.bmp"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(leftover)));
}

}  // namespace
