// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's name: the main window's title and the caption of its own message boxes.
inline const QString ProductTitle = QStringLiteral("Marvane");
