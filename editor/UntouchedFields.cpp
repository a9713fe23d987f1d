// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/UntouchedFields.h"

namespace UntouchedFields {

namespace {

template <typename... Fields>
void keepEach(TaskSettings& written, const TaskSettings& shown, const TaskSettings& stored, Fields... fields)
{
    ((written.*fields == shown.*fields ? void(written.*fields = stored.*fields) : void()), ...);
}

}  // namespace

void keepStored(TaskSettings& written, const TaskSettings& shownAtOpening, const TaskSettings& stored)
{
    keepEach(written, shownAtOpening, stored, &TaskSettings::format, &TaskSettings::width, &TaskSettings::height,
             &TaskSettings::keepSourceSize, &TaskSettings::split, &TaskSettings::splitSeconds,
             &TaskSettings::videoOnly, &TaskSettings::frameRate, &TaskSettings::videoCompressor,
             &TaskSettings::audioCompressor, &TaskSettings::wmvProfile, &TaskSettings::mpegFrameRateIndex,
             &TaskSettings::vbr, &TaskSettings::vbrQuality, &TaskSettings::videoBitRate, &TaskSettings::audioBitRate,
             &TaskSettings::videoCodec, &TaskSettings::quality, &TaskSettings::speed);
}

}  // namespace UntouchedFields
