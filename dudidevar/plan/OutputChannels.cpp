// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/plan/OutputChannels.h"

#include <algorithm>

namespace OutputChannels {

namespace {
constexpr int kMostDvdChannels = 6;
constexpr std::int64_t kSurroundBitRate = 448000;
}  // namespace

void fit(OutputPlan& plan, int sourceChannels)
{
    SoundPlan& audio = plan.sound;
    if (plan.muxer != "dvd" || audio.encoder != "ac3" || sourceChannels <= 2)
        return;
    // AC-3 has no layout for every count between; anything beyond stereo becomes 5.1, so no
    // channel is folded away.
    audio.channels = kMostDvdChannels;
    audio.bitRate = std::max(audio.bitRate, kSurroundBitRate);
}

}  // namespace OutputChannels
