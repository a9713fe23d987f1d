// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Dialog templates are laid out in dialog units of an 8-point Tahoma at 96 dpi.
namespace DialogUnits {

inline constexpr int toPixelsX(int x) { return x * 6 / 4; }
inline constexpr int toPixelsY(int y) { return y * 13 / 8; }
inline QRect toPixels(int x, int y, int w, int h)
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(w), toPixelsY(h));
}

}  // namespace DialogUnits
