// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>

// Colour arithmetic of the skinned controls; no widget needed.
namespace SkinColors {

// The offset OffsetColor applies for a shade: the shade, cut down so that no channel leaves
// 0..255, the same for all three channels so the colour keeps its balance.
int BalancedOffset(const QColor& color, int shade);
QColor OffsetColorValue(const QColor& color, int shade);

// Each channel c becomes the whole part of c - c * factor for 0 < factor <= 1; any other
// factor leaves the colour as it is.
QColor DimColor(const QColor& color, double factor);

// The whole part of the ITU-R BT.601 luma 0.299 R + 0.587 G + 0.114 B.
int GreyLevel(const QColor& color);

// Copies of an icon: pure black pixels stay black, every other pixel turns grey (or dimmed
// by a quarter); the transparency of the original is kept.
QImage MakeGrayscaleIcon(const QImage& icon);
QImage MakeDarkerIcon(const QImage& icon);

}  // namespace SkinColors
