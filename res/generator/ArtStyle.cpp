// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtStyle.h"

QFont ArtStyle::labelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
