// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include "tasks/TaskSettings.h"

// What a new MP4 task holds when the user changes nothing, in the editor and in the companion:
// H.264 at quality 22, balanced speed, the source's size and rate, 160 kbit/s sound.
inline void ExpectMp4Defaults(const TaskSettings& s)
{
    EXPECT_EQ(s.format, OutputFormat::Mp4);
    EXPECT_EQ(s.videoCodec, 0);
    EXPECT_EQ(s.quality, 22);
    EXPECT_EQ(s.speed, 1);
    EXPECT_EQ(s.keepSourceSize, 1);
    EXPECT_EQ(s.frameRate, 0.0f);
    EXPECT_EQ(s.audioBitRate, 160);
    EXPECT_EQ(s.videoOnly, 0);
}
