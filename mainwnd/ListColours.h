// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QAbstractItemView;

// The pale green of both lists of the main window, behind the rows and behind their text.
namespace ListColours {

inline constexpr QColor kBackground{204, 217, 195};

// Paints the list's background and its text background in the list colour, and keeps the
// selection visible while the list has no focus.
void Apply(QAbstractItemView& list);

}  // namespace ListColours
