// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sched.h>

#include <string>

#include "dudidevar/base/CodecThreads.h"

namespace {

struct Case {
    const char* codec;
    bool encoder;
    int height;
    int cores;
    int count;
    int type;
};

const AVCodec* find(const Case& c)
{
    return c.encoder ? avcodec_find_encoder_by_name(c.codec) : avcodec_find_decoder_by_name(c.codec);
}

// Pictures get frame or slice threads, one more than the cores there are; sound, tiny pictures,
// codecs without threads and a single core get none; slices never get thinner than a few block
// rows; libraries with threads of their own get one and a half per core.
TEST(CodecThreadsTest, ThreadsFollowTheCoresAndTheWork)
{
    const Case cases[] = {
        {"mpeg4", false, 720, 2, 3, FF_THREAD_FRAME},
        {"h264", false, 1080, 4, 5, FF_THREAD_FRAME | FF_THREAD_SLICE},
        {"mpeg4", false, 720, 1, 1, 0},
        {"mpeg4", false, 96, 2, 1, 0},
        {"mp3float", false, 0, 2, 1, 0},
        {"mpeg2video", true, 480, 2, 3, FF_THREAD_SLICE},
        {"mpeg1video", true, 240, 8, 3, FF_THREAD_SLICE},
        {"mpeg2video", true, 480, 1, 1, 0},
        {"wmv2", true, 360, 2, 1, 0},
        {"mp2", true, 0, 2, 1, 0},
        {"libx264", true, 720, 2, 3, 0},
        {"libx264", true, 720, 8, 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.codec) + (c.encoder ? " encoder" : " decoder") + " at " + std::to_string(c.height) +
                     " lines on " + std::to_string(c.cores) + " cores");
        const AVCodec* codec = find(c);
        ASSERT_NE(codec, nullptr);
        const CodecThreads::Choice choice = c.encoder ? CodecThreads::forEncoder(codec, c.height, c.cores)
                                                      : CodecThreads::forDecoder(codec, c.height, c.cores);
        EXPECT_EQ(choice.count, c.count);
        EXPECT_EQ(choice.type, c.type);
    }
}

// A run limited to one core (taskset) must not start threads that only take turns on it, though
// the machine has more cores.
TEST(CodecThreadsTest, CoresAreThoseThisProcessMayRunOn)
{
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    int first = 0;
    while (first < CPU_SETSIZE && !CPU_ISSET(first, &before))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int cores = CodecThreads::cores();
    sched_setaffinity(0, sizeof before, &before);
    EXPECT_EQ(cores, 1);
    EXPECT_EQ(CodecThreads::cores(), std::min(CPU_COUNT(&before), 16));
}

// Every encoder opens with the threads chosen for it (an encoder without slices refuses more
// than one thread).
TEST(CodecThreadsTest, EncodersOpenWithTheirThreads)
{
    for (const char* name : {"mpeg1video", "mpeg2video", "mpeg4", "wmv2", "mjpeg"}) {
        SCOPED_TRACE(name);
        const AVCodec* codec = avcodec_find_encoder_by_name(name);
        ASSERT_NE(codec, nullptr);
        ff::CodecContext c(avcodec_alloc_context3(codec));
        ASSERT_TRUE(c);
        c->width = 352;
        c->height = 288;
        c->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
        c->time_base = AVRational{1, 25};
        c->framerate = AVRational{25, 1};
        CodecThreads::apply(c.get(), CodecThreads::forEncoder(codec, c->height, 4));
        EXPECT_GE(avcodec_open2(c.get(), codec, nullptr), 0);
    }
}

}  // namespace
