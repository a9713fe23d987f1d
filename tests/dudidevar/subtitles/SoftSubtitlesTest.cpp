// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

#include <QProcess>
#include <QStandardPaths>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/MediaProbe.h"

namespace {

// A subtitle as an MP4 output's track holds it.
struct KeptLine {
    double start;
    double end;
};

struct KeptTrack {
    std::string codec;
    std::string language;
    std::vector<KeptLine> lines;  // those with words; the empty samples between them left out
};

KeptTrack keptTrack(const std::string& path)
{
    KeptTrack kept;
    std::string error;
    ff::InputContext input = MediaProbe::open(path, &error);
    EXPECT_TRUE(input) << error;
    if (!input)
        return kept;
    int index = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
            index = int(i);
    }
    if (index < 0)
        return kept;
    const AVStream* stream = input->streams[index];
    kept.codec = avcodec_get_name(stream->codecpar->codec_id);
    const AVDictionaryEntry* language = av_dict_get(stream->metadata, "language", nullptr, 0);
    kept.language = language ? language->value : "";
    ff::Packet packet = ff::makePacket();
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        // A timed-text sample starts with the length of its words.
        if (packet->stream_index == index && packet->size > 2 && (packet->data[0] | packet->data[1]))
            kept.lines.push_back({packet->pts * av_q2d(stream->time_base),
                                  (packet->pts + packet->duration) * av_q2d(stream->time_base)});
        av_packet_unref(packet.get());
    }
    return kept;
}

using SoftSubtitlesTest = ControlTest;

// The English track of a source joined to a later part of itself: its line from 1 s to 2 s
// is kept at its time, and again where the part shows it (1.5 s later than the part's start).
TEST_F(SoftSubtitlesTest, KeptTrackHasTheLanguageAndTheLinesWhereTheOutputShowsThem)
{
    const std::string srt = TestMedia::fileWith("kept.srt", "1\n00:00:01,000 --> 00:00:02,000\nKept words\n\n");
    const std::string source = TestMedia::made(
        "grey-kept-subtitles.mkv", {"-f", "lavfi", "-i", "color=c=0x808080:rate=25:duration=4:size=320x240", "-i",
                                    srt, "-map", "0", "-map", "1", "-c:v", "mpeg4", "-q:v", "2", "-c:s", "srt",
                                    "-metadata:s:s:0", "language=en"});
    control.SetOutputFormat(9);
    control.SetSubtitles("eng");
    control.SetSoftSubtitles(true);
    addWhole(source, 0, false);
    ASSERT_TRUE(control.AddVideoClip(source, 0.5, 4.0, 0));
    const std::string out = convert("kept.mp4");
    const KeptTrack kept = keptTrack(out);
    EXPECT_EQ(kept.codec, "mov_text");
    EXPECT_EQ(kept.language, "eng");
    ASSERT_EQ(kept.lines.size(), 2u);
    EXPECT_NEAR(kept.lines[0].start, 1.0, 0.01);
    EXPECT_NEAR(kept.lines[0].end, 2.0, 0.01);
    EXPECT_NEAR(kept.lines[1].start, 4.5, 0.01);
    EXPECT_NEAR(kept.lines[1].end, 5.5, 0.01);
    // Nothing is burned into the picture.
    EXPECT_LT(std::abs(TestMedia::greyFrame(out, 37).at(160, 210) - TestMedia::greyFrame(out, 12).at(160, 210)), 5);

    // GStreamer plays the file through, with the track's language and both lines.
    const QString launcher = QStandardPaths::findExecutable("gst-launch-1.0");
    if (launcher.isEmpty())
        GTEST_SKIP() << "GStreamer's gst-launch-1.0 is not installed";
    QProcess gst;
    gst.start(launcher, {"-t", "playbin", "uri=file://" + QString::fromStdString(out), "video-sink=fakesink",
                         "audio-sink=fakesink", "text-sink=fakesink dump=true"});
    ASSERT_TRUE(gst.waitForFinished(60000));
    const QString played = QString::fromUtf8(gst.readAllStandardOutput());
    EXPECT_EQ(gst.exitCode(), 0) << played.toStdString();
    EXPECT_TRUE(played.contains("3GPP timed text") && played.contains("language code: en")) << played.toStdString();
    EXPECT_EQ(played.count("Kept words"), 2) << played.toStdString();
}

// A file's lines are kept with the language its name gives, and as of no known language
// (never as English) when its name gives none.
TEST_F(SoftSubtitlesTest, FileIsKeptWithTheLanguageOfItsName)
{
    const std::string srt = TestMedia::fileWith("holiday.fr.srt", "1\n00:00:00,500 --> 00:00:01,250\nMots\n\n");
    control.SetOutputFormat(9);
    control.SetSubtitles(srt);
    control.SetSoftSubtitles(true);
    addWhole(TestMedia::withSound());
    const KeptTrack kept = keptTrack(convert("holiday.mp4"));
    EXPECT_EQ(kept.language, "fra");
    ASSERT_EQ(kept.lines.size(), 1u);
    EXPECT_NEAR(kept.lines[0].start, 0.5, 0.01);
    EXPECT_NEAR(kept.lines[0].end, 1.25, 0.01);

    control.SetSubtitles(TestMedia::fileWith("holiday.srt", "1\n00:00:00,500 --> 00:00:01,250\nMots\n\n"));
    EXPECT_EQ(keptTrack(convert("unnamed.mp4")).language, "und");
}

}  // namespace
