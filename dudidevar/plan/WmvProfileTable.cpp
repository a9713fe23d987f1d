// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/plan/WmvProfileTable.h"

namespace WmvProfileTable {

const std::vector<WmvProfile>& profiles()
{
    static const std::vector<WmvProfile> list = {
        {"Windows Media Video 8 for Local Area Network (384 Kbps)", 320, 64, 44100, 2, 640, 480, 30},
        {"Windows Media Video 8 for Local Area Network (768 Kbps)", 700, 64, 44100, 2, 640, 480, 30},
        {"Windows Media Audio 8 for Dial-up Modem (Music, 32 Kbps)", 0, 32, 22050, 2, 0, 0, 0},
        {"Windows Media Video 8 for Local Area Network (256 Kbps)", 208, 48, 44100, 2, 320, 240, 30},
        {"Windows Media Video 8 for Local Area Network (100 Kbps)", 68, 32, 32000, 2, 320, 240, 15},
        {"Windows Media Video 8 for Dual-channel ISDN (128 Kbps)", 96, 32, 22050, 2, 240, 176, 15},
        {"Windows Media Video 8 for Dial-up Modems or Single-channel ISDN (28.8 to 56 Kbps)", 28, 24, 22050, 1, 176, 144, 15},
        {"Windows Media Video 8 for Broadband (NTSC, 1400 Kbps)", 1272, 128, 44100, 2, 720, 480, 30},
        {"Windows Media Video 8 for Broadband (PAL, 1400 Kbps)", 1272, 128, 44100, 2, 720, 576, 25},
        {"Windows Media Audio 8 for ISDN (Music, 64 Kbps)", 0, 64, 44100, 2, 0, 0, 0},
        {"Windows Media Audio 8 for Broadband (CD Quality, 128 Kbps)", 0, 128, 44100, 2, 0, 0, 0},
    };
    return list;
}

const WmvProfile& at(int index)
{
    const auto& list = profiles();
    return index >= 0 && index < int(list.size()) ? list[std::size_t(index)] : list.front();
}

}  // namespace WmvProfileTable
