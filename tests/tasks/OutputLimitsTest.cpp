// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tasks/OutputLimits.h"

namespace {

struct Row {
    const char* what;
    std::function<void(TaskSettings&)> set;
    const char* field;   // "" when the record fits
    const char* reason;
};

TaskSettings record(OutputFormat format, const std::function<void(TaskSettings&)>& set)
{
    TaskSettings s;
    s.format = format;
    set(s);
    return s;
}

}  // namespace

// Every number a kind cannot carry is refused with the limit in words, the largest and smallest
// it can carry pass, and numbers the kind never reads are left alone.
TEST(OutputLimits, EachKindCarriesItsOwnSizesRatesAndBitRates)
{
    using F = OutputFormat;
    const std::pair<F, Row> rows[] = {
        {F::MpegCustom, {"custom MPEG 65540 wide", [](TaskSettings& s) { s.width = 65540; s.height = 288; }, "width",
                         "custom MPEG pictures are 2 to 4095 pixels wide, not 65540"}},
        {F::MpegCustom, {"custom MPEG at its largest", [](TaskSettings& s) { s.width = s.height = 4095; }, "", ""}},
        {F::Avi, {"AVI 65538 wide", [](TaskSettings& s) { s.width = 65538; s.height = 240; }, "width",
                  "AVI pictures are 2 to 8191 pixels wide, not 65538"}},
        {F::Avi, {"AVI 1 pixel high", [](TaskSettings& s) { s.width = 320; s.height = 1; }, "height",
                  "AVI pictures are 2 to 8191 pixels high, not 1"}},
        {F::Avi, {"AVI keeping the source size", [](TaskSettings& s) { s.keepSourceSize = 1; s.width = 99999; }, "", ""}},
        {F::Avi, {"AVI at 1e-9 a second", [](TaskSettings& s) { s.frameRate = 1e-9f; }, "frameRate",
                  "AVI frame rates go from 1 to 120 frames a second, not 1e-09"}},
        {F::Avi, {"AVI at 120 a second", [](TaskSettings& s) { s.frameRate = 120.0f; }, "", ""}},
        {F::Mp4, {"MP4 at 3.4e38 a second", [](TaskSettings& s) { s.frameRate = 3.4e38f; }, "frameRate",
                  "MP4 frame rates go from 1 to 120 frames a second, not 3.4e+38"}},
        {F::Mp4, {"MP4 99999 high", [](TaskSettings& s) { s.height = 99999; }, "height",
                  "MP4 pictures are 2 to 4320 pixels high, not 99999"}},
        {F::Mp4, {"MP4 sound at 320", [](TaskSettings& s) { s.audioBitRate = 320; }, "audioBitRate",
                  "MP4 sound goes from 96 to 256 kbit/s, not 320"}},
        {F::Mp4, {"MP4 without sound keeps any sound rate", [](TaskSettings& s) { s.videoOnly = 1; s.audioBitRate = 320; },
                  "", ""}},
        {F::MpegCustom, {"custom MPEG rate number 5", [](TaskSettings& s) { s.mpegFrameRateIndex = 5; },
                         "mpegFrameRateIndex",
                         "custom MPEG has 5 frame rates (23.976, 24, 25, 29.97 and 30), numbered 0 to 4, not 5"}},
        {F::VcdPal, {"VCD at 2000 kbit/s", [](TaskSettings& s) { s.videoBitRate = 2000; }, "videoBitRate",
                     "VCD video is 1150 kbit/s, not 2000"}},
        {F::VcdNtsc, {"VCD's size and sound are its own", [](TaskSettings& s) {
                          s.width = 65540; s.videoBitRate = 1150; s.audioBitRate = 1;
                      }, "", ""}},
        {F::SvcdPal, {"SVCD at 2517 kbit/s", [](TaskSettings& s) { s.videoBitRate = 2517; }, "videoBitRate",
                      "SVCD video carries at most 2516 kbit/s, not 2517"}},
        {F::DvdNtsc, {"DVD at 9000 kbit/s with 448 sound", [](TaskSettings& s) {
                          s.videoBitRate = 9000; s.audioBitRate = 448;
                      }, "", ""}},
        {F::DvdPal, {"DVD at 9001 kbit/s", [](TaskSettings& s) { s.videoBitRate = 9001; }, "videoBitRate",
                     "DVD video carries at most 9000 kbit/s, not 9001"}},
        {F::DvdPal, {"DVD in VBR reads no bit rate", [](TaskSettings& s) { s.vbr = 1; s.videoBitRate = 99999; }, "",
                     ""}},
        {F::MpegCustom, {"custom MPEG at 10001 kbit/s", [](TaskSettings& s) { s.videoBitRate = 10001; }, "videoBitRate",
                         "custom MPEG video carries at most 10000 kbit/s, not 10001"}},
        {F::SvcdNtsc, {"SVCD sound at 448", [](TaskSettings& s) { s.audioBitRate = 448; }, "audioBitRate",
                       "SVCD sound is 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 or 384 kbit/s, "
                       "not 448"}},
        {F::Wmv, {"WMV takes its profile's numbers", [](TaskSettings& s) {
                      s.width = 99999; s.frameRate = 1e9f; s.audioBitRate = 1;
                  }, "", ""}},
    };
    for (const auto& [format, row] : rows) {
        SCOPED_TRACE(row.what);
        const std::optional<OutputLimits::Refusal> refusal = OutputLimits::check(record(format, row.set));
        EXPECT_EQ(refusal ? refusal->field : "", row.field);
        EXPECT_EQ(refusal ? refusal->reason : "", row.reason);
    }
}
