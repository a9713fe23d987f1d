// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

#include <cstring>

#include "dudidevar/base/FfmpegOwners.h"

namespace {

// One box subtitle on a 720×576 canvas, encoded: white, 200×60 at 260,400, shown for `ms`.
std::vector<uint8_t> boxSubtitle(AVCodecContext* encoder, std::int64_t at, std::uint32_t ms, bool forced)
{
    AVSubtitle subtitle{};
    subtitle.end_display_time = ms;
    subtitle.num_rects = 1;
    subtitle.rects = static_cast<AVSubtitleRect**>(av_mallocz(sizeof(AVSubtitleRect*)));
    AVSubtitleRect* box = subtitle.rects[0] = static_cast<AVSubtitleRect*>(av_mallocz(sizeof(AVSubtitleRect)));
    *box = {};
    box->type = SUBTITLE_BITMAP;
    box->flags = forced ? AV_SUBTITLE_FLAG_FORCED : 0;
    box->x = 260;
    box->y = 400;
    box->w = 200;
    box->h = 60;
    box->nb_colors = 4;
    box->linesize[0] = box->w;
    box->data[0] = static_cast<uint8_t*>(av_malloc(std::size_t(box->w * box->h)));
    std::memset(box->data[0], 1, std::size_t(box->w * box->h));
    box->data[1] = static_cast<uint8_t*>(av_mallocz(4 * sizeof(uint32_t)));
    reinterpret_cast<uint32_t*>(box->data[1])[1] = 0xffffffff;
    subtitle.pts = at * 1000;
    std::vector<uint8_t> bytes(1 << 16);
    const int size = avcodec_encode_subtitle(encoder, bytes.data(), int(bytes.size()), &subtitle);
    avsubtitle_free(&subtitle);
    EXPECT_GT(size, 0);
    bytes.resize(std::size_t(std::max(size, 0)));
    return bytes;
}

// The ffmpeg program cannot make a picture subtitle from text, so the test encodes them itself:
// a Matroska file with a DVD subtitle track (not marked forced) whose box shows from 1 s to
// 2 s, marked forced, and again from 2.4 s to 2.9 s, not marked.
std::string dvdSubtitleTrack()
{
    const std::string path = TestMedia::folder() + "dvd-subtitle.mks";
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_DVD_SUBTITLE);
    ff::CodecContext encoder(avcodec_alloc_context3(codec));
    encoder->width = 720;
    encoder->height = 576;
    encoder->time_base = {1, 1000};
    EXPECT_GE(avcodec_open2(encoder.get(), codec, nullptr), 0);

    AVFormatContext* raw = nullptr;
    EXPECT_GE(avformat_alloc_output_context2(&raw, nullptr, "matroska", path.c_str()), 0);
    ff::OutputContext output(raw);
    AVStream* stream = avformat_new_stream(raw, nullptr);
    avcodec_parameters_from_context(stream->codecpar, encoder.get());
    stream->time_base = {1, 1000};
    EXPECT_GE(avio_open(&raw->pb, path.c_str(), AVIO_FLAG_WRITE), 0);
    EXPECT_GE(avformat_write_header(raw, nullptr), 0);
    struct Shown {
        std::int64_t at;
        std::uint32_t ms;
        bool forced;
    };
    for (const Shown& shown : {Shown{1000, 1000, true}, Shown{2400, 500, false}}) {
        const std::vector<uint8_t> bytes = boxSubtitle(encoder.get(), shown.at, shown.ms, shown.forced);
        ff::Packet packet = ff::makePacket();
        EXPECT_GE(av_new_packet(packet.get(), int(bytes.size())), 0);
        std::memcpy(packet->data, bytes.data(), bytes.size());
        packet->pts = packet->dts = av_rescale_q(shown.at, {1, 1000}, stream->time_base);
        packet->duration = av_rescale_q(shown.ms, {1, 1000}, stream->time_base);
        packet->stream_index = 0;
        EXPECT_GE(av_interleaved_write_frame(raw, packet.get()), 0);
    }
    EXPECT_GE(av_write_trailer(raw), 0);
    return path;
}

class PictureSubtitlesTest : public ControlTest {
protected:
    // A grey 720×576 source with the DVD subtitle track, made 360×288 with those subtitles.
    std::string convertWith(const char* subtitles, const std::string& name)
    {
        const std::string source = TestMedia::made(
            "grey-two-dvd-subtitles.mkv", {"-f", "lavfi", "-i", "color=c=0x808080:rate=25:duration=3:size=720x576",
                                           "-i", dvdSubtitleTrack(), "-map", "0", "-map", "1", "-c:v", "mpeg4", "-q:v",
                                           "2", "-c:s", "copy"});
        control.SetOutputFormat(7);
        control.SetOutputWidth(360);
        control.SetOutputHeight(288);
        control.SetSubtitles(subtitles);
        addWhole(source, 0, false);
        return convert(name);
    }
};

// The box is stretched with the picture: a 720×576 source made 360×288 shows it at half size.
TEST_F(PictureSubtitlesTest, DvdSubtitleIsLaidOverAtItsPlaceAndTime)
{
    const std::string out = convertWith("1", "dvd-subtitle.avi");
    const TestMedia::GreyPicture plain = TestMedia::greyFrame(out, 12);
    const TestMedia::GreyPicture shown = TestMedia::greyFrame(out, 37);
    ASSERT_EQ(plain.width, 360);
    ASSERT_EQ(shown.width, 360);
    int left = 360, right = -1, top = 288, bottom = -1;
    for (int y = 0; y < 288; ++y) {
        for (int x = 0; x < 360; ++x) {
            if (shown.at(x, y) - plain.at(x, y) > 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_NEAR(left, 130, 3);
    EXPECT_NEAR(right, 229, 3);
    EXPECT_NEAR(top, 200, 3);
    EXPECT_NEAR(bottom, 229, 3);
    const TestMedia::GreyPicture after = TestMedia::greyFrame(out, 55);
    EXPECT_LT(std::abs(after.at(180, 215) - plain.at(180, 215)), 10);
    EXPECT_GT(TestMedia::greyFrame(out, 65).at(180, 215) - plain.at(180, 215), 60);
}

// "Forced" keeps, of a track not marked forced, only the subtitles marked forced.
TEST_F(PictureSubtitlesTest, ForcedKeepsOnlyTheSubtitlesMarkedForced)
{
    const std::string out = convertWith("forced", "forced-dvd-subtitle.avi");
    const TestMedia::GreyPicture plain = TestMedia::greyFrame(out, 12);
    EXPECT_GT(TestMedia::greyFrame(out, 37).at(180, 215) - plain.at(180, 215), 60);
    EXPECT_LT(std::abs(TestMedia::greyFrame(out, 65).at(180, 215) - plain.at(180, 215)), 10);
}

}  // namespace
