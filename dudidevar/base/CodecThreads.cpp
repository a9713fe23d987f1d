// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/base/CodecThreads.h"

#include <algorithm>
#include <string_view>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

namespace {

// Below this height a picture is coded faster than threads are woken for it.
constexpr int kSmallestThreadedHeight = 144;
// Each slice of an encoded picture keeps at least this many rows of 16-pixel blocks.
constexpr int kRowsPerSlice = 4;
constexpr int kMostThreads = 16;

bool isVideo(const AVCodec* codec)
{
    return codec && codec->type == AVMEDIA_TYPE_VIDEO;
}

// One thread more than cores: a core whose thread waits (for the caller, or for the picture a
// frame depends on) takes up the next frame's or slice's work.
int threadsFor(int cores)
{
    return std::min(cores + 1, kMostThreads);
}

}  // namespace

int CodecThreads::cores()
{
    int count = int(std::thread::hardware_concurrency());
#ifdef __linux__
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        const int usable = CPU_COUNT(&allowed);
        count = count > 0 ? std::min(count, usable) : usable;
    }
#endif
    return std::clamp(count, 1, kMostThreads);
}

CodecThreads::Choice CodecThreads::forDecoder(const AVCodec* codec, int height, int cores)
{
    if (!isVideo(codec) || cores <= 1 || height < kSmallestThreadedHeight)
        return {};
    int type = 0;
    if (codec->capabilities & AV_CODEC_CAP_FRAME_THREADS)
        type |= FF_THREAD_FRAME;
    if (codec->capabilities & AV_CODEC_CAP_SLICE_THREADS)
        type |= FF_THREAD_SLICE;
    if (type == 0 && !(codec->capabilities & AV_CODEC_CAP_OTHER_THREADS))
        return {};
    return {threadsFor(cores), type};
}

CodecThreads::Choice CodecThreads::forEncoder(const AVCodec* codec, int height, int cores)
{
    if (!isVideo(codec) || cores <= 1 || height < kSmallestThreadedHeight)
        return {};
    // Libraries with threads of their own (H.264, H.265, Xvid) code frames side by side; one and a
    // half per core keeps every core busy while frames wait on the ones they refer to.
    if (codec->capabilities & AV_CODEC_CAP_OTHER_THREADS)
        return {std::min(cores + cores / 2, kMostThreads), 0};
    if (!(codec->capabilities & AV_CODEC_CAP_SLICE_THREADS))
        return {};
    const int rows = (height + 15) / 16;
    const int slices = std::max(1, rows / kRowsPerSlice);
    return {std::min(threadsFor(cores), slices), FF_THREAD_SLICE};
}

int CodecThreads::forScaler(int height, int cores)
{
    // On two cores the run's own stages (decode, fit, encode) keep both busy: bands of one picture
    // on threads of their own only add hand-overs.
    if (cores <= 2 || height < kSmallestThreadedHeight)
        return 1;
    const int rows = (height + 15) / 16;
    return std::clamp(rows / kRowsPerSlice, 1, cores);
}

bool CodecThreads::fillsCores(const AVCodec* encoder)
{
    if (!isVideo(encoder) || !encoder->name)
        return false;
    const std::string_view name = encoder->name;
    return name == "libx264" || name == "libx264rgb" || name == "libx265";
}

void CodecThreads::apply(AVCodecContext* context, const Choice& choice)
{
    context->thread_count = choice.count;
    if (choice.type != 0)
        context->thread_type = choice.type;
}
