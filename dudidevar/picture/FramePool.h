// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "dudidevar/base/FfmpegOwners.h"

// Frames of one size and format whose memory comes back for the next frame once the encoder has
// let go of it: each picture is written into memory already in use, instead of memory the system
// hands out, clears and takes back again for every frame. Frames may be let go of on any thread,
// and may outlive the pool.
class FramePool {
public:
    // A frame of width × height in `format` with its planes laid out as av_frame_get_buffer()
    // would lay them out (rows and planes aligned, padded past the last row); its pixels are
    // left as the last frame in that memory wrote them. Null when memory runs out.
    ff::Frame frame(int width, int height, AVPixelFormat format);

private:
    bool layOut(int width, int height, AVPixelFormat format);

    ff::BufferPool pool_;
    int width_ = 0;
    int height_ = 0;
    AVPixelFormat format_ = AV_PIX_FMT_NONE;
    int linesizes_[4] = {};
    std::size_t offsets_[4] = {};
    int planes_ = 0;
};
