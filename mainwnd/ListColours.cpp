// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/ListColours.h"

#include <QAbstractItemView>
#include <QPalette>

namespace ListColours {

void Apply(QAbstractItemView& list)
{
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, kBackground);
    colours.setColor(QPalette::AlternateBase, kBackground);
    colours.setColor(QPalette::Window, kBackground);
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    list.setPalette(colours);
    list.setAutoFillBackground(true);
}

}  // namespace ListColours
