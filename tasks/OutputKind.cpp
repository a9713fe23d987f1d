// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/OutputKind.h"

namespace OutputKinds {

namespace {

struct KindRow {
    const char* buttonText;
    const char* description;
    const char* suffix;
    int presetMode;
    int buttonId;
};

const KindRow& row(OutputKind kind)
{
    static const KindRow rows[] = {
        {"To AVI(DivX , Xvid)", "To AVI", "_output.avi", -1, 1064},
        {"To DVD", "To DVD", "_output.mpg", 0, 1070},
        {"To VCD", "To VCD", "_output.mpg", 1, 1071},
        {"To SVCD", "To SVCD", "_output.mpg", 2, 1072},
        {"Custom MPEG", "To MPEG(custom)", "_output.mpg", 3, 1073},
        {"To WMV/ASF", "To WMV", "_output.wmv", -1, 1074},
        {"To MP4", "To MP4", "_output.mp4", -1, 1075},
    };
    int i = static_cast<int>(kind) - 1;
    if (i < 0 || i > 6)
        i = 0;
    return rows[i];
}

}  // namespace

const char* buttonText(OutputKind kind) { return row(kind).buttonText; }
const char* description(OutputKind kind) { return row(kind).description; }
const char* suffix(OutputKind kind) { return row(kind).suffix; }
int presetMode(OutputKind kind) { return row(kind).presetMode; }
int buttonId(OutputKind kind) { return row(kind).buttonId; }

OutputKind fromFormat(OutputFormat format)
{
    switch (format) {
    case OutputFormat::VcdPal:
    case OutputFormat::VcdNtsc: return OutputKind::Vcd;
    case OutputFormat::SvcdPal:
    case OutputFormat::SvcdNtsc: return OutputKind::Svcd;
    case OutputFormat::DvdPal:
    case OutputFormat::DvdNtsc: return OutputKind::Dvd;
    case OutputFormat::MpegCustom: return OutputKind::MpegCustom;
    case OutputFormat::Avi: return OutputKind::Avi;
    case OutputFormat::Wmv: return OutputKind::Wmv;
    case OutputFormat::Mp4: return OutputKind::Mp4;
    }
    return OutputKind::Avi;
}

OutputFormat toFormat(OutputKind kind, bool ntsc)
{
    switch (kind) {
    case OutputKind::Avi: return OutputFormat::Avi;
    case OutputKind::Dvd: return ntsc ? OutputFormat::DvdNtsc : OutputFormat::DvdPal;
    case OutputKind::Vcd: return ntsc ? OutputFormat::VcdNtsc : OutputFormat::VcdPal;
    case OutputKind::Svcd: return ntsc ? OutputFormat::SvcdNtsc : OutputFormat::SvcdPal;
    case OutputKind::MpegCustom: return OutputFormat::MpegCustom;
    case OutputKind::Wmv: return OutputFormat::Wmv;
    case OutputKind::Mp4: return OutputFormat::Mp4;
    }
    return OutputFormat::Avi;
}

}  // namespace OutputKinds
