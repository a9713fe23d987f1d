// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "tasks/OutputFormat.h"

// The task editor's numbering of output kinds.
enum class OutputKind : std::int32_t {
    Avi = 1,
    Dvd = 2,
    Vcd = 3,
    Svcd = 4,
    MpegCustom = 5,
    Wmv = 6,
    Mp4 = 7,
};

namespace OutputKinds {

const char* buttonText(OutputKind kind);   // "To AVI(DivX , Xvid)", ...
const char* description(OutputKind kind);  // "To AVI", ...
const char* suffix(OutputKind kind);       // "_output.avi", ...
int presetMode(OutputKind kind);           // MPEG panel mode 0..3; -1 for AVI, WMV and MP4
int buttonId(OutputKind kind);
OutputKind fromFormat(OutputFormat format);
OutputFormat toFormat(OutputKind kind, bool ntsc);

}  // namespace OutputKinds
