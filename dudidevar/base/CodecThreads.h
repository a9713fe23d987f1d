// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dudidevar/base/FfmpegOwners.h"

// How many threads a decoder or an encoder gets, from the cores this process may run on and
// the size of its pictures: sound and tiny pictures are decoded and encoded on the calling
// thread, pictures in frame or slice threads where the codec has them, one more than there are
// cores (one core: no threads at all, so a run limited to it pays nothing for them).
class CodecThreads {
public:
    struct Choice {
        int count = 1;
        int type = 0;  // FF_THREAD_FRAME / FF_THREAD_SLICE, or 0 to leave the codec's own
    };

    // The cores this process may run on: the machine's, narrowed by its processor affinity.
    static int cores();
    static Choice forDecoder(const AVCodec* codec, int height, int cores);
    static Choice forEncoder(const AVCodec* codec, int height, int cores);
    // Threads of a scaler making pictures of the height: one per core, each band at least a few
    // block rows high; one on two cores, which the run's own stages keep busy.
    static int forScaler(int height, int cores);
    // Whether the encoder's own frame threads keep every core busy (x264, x265), so that
    // decoding and fitting its pictures on threads of their own only adds hand-overs.
    static bool fillsCores(const AVCodec* encoder);
    // Sets the choice on a context that is still to be opened.
    static void apply(AVCodecContext* context, const Choice& choice);
};
