// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/HoverFrames.h"

#include <algorithm>

namespace {

int chooseFrame(int frameCount, bool pressed, bool disabled, bool hovering)
{
    if (pressed)
        return 1;
    if (disabled)
        return frameCount == 2 ? 1 : 3;
    if (hovering)
        return frameCount == 2 ? 1 : 2;
    return 0;
}

}  // namespace

int HoverFrames::Choose(int frameCount, bool pressed, bool disabled, bool hovering)
{
    // Strips of other frame counts never show a frame they do not have.
    return std::clamp(chooseFrame(frameCount, pressed, disabled, hovering), 0, std::max(frameCount, 1) - 1);
}

QImage HoverFrames::Map3DColors(const QImage& strip, const QColor& shadow, const QColor& face, const QColor& light)
{
    if (strip.isNull())
        return {};
    QImage mapped = strip.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < mapped.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mapped.scanLine(y));
        for (int x = 0; x < mapped.width(); ++x) {
            switch (line[x] & 0xFFFFFF) {
            case 0x808080: line[x] = shadow.rgb(); break;
            case 0xC0C0C0: line[x] = face.rgb(); break;
            case 0xDFDFDF: line[x] = light.rgb(); break;
            default: break;
            }
        }
    }
    return mapped;
}
