// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

// The font the dialog templates were laid out for: 8-point Tahoma, 11 pixels at 96 dpi, or a
// sans of that size where Tahoma is missing.
namespace DialogFont {

inline QFont Tahoma8()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

}  // namespace DialogFont
