// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

// Colours, type and the window's layout shared by every picture, so the skin, its buttons
// and the small icons read as one set.
namespace ArtStyle {

inline const QColor outline{14, 19, 17};
inline const QColor bodyTop{56, 71, 64};
inline const QColor bodyBottom{33, 43, 39};
inline const QColor rim{92, 114, 104};
inline const QColor well{17, 23, 21};
inline const QColor wellEdge{76, 94, 86};
inline const QColor rail{28, 37, 33};
inline const QColor text{232, 239, 233};
inline const QColor sage{169, 194, 155};
inline const QColor amber{240, 180, 60};
inline const QColor red{226, 87, 76};
inline const QColor green{96, 190, 110};
inline const QColor blue{91, 176, 230};
inline const QColor steel{142, 197, 232};
inline const QColor disabledInk{104, 114, 109};

// Client-pixel places of the main window's controls that the skin frames.
inline constexpr QSize skinSize{530, 435};
inline constexpr QRect taskList{81, 35, 440, 162};
inline constexpr QRect videoArea{87, 216, 345, 180};
inline constexpr QRect progressBar{87, 402, 345, 12};
inline constexpr QRect emblem{9, 9, 16, 16};
inline constexpr QRect leftRail{8, 29, 58, 208};
inline constexpr QRect rightRail{441, 205, 80, 197};

QFont labelFont(int pixelSize, bool bold = true);

}  // namespace ArtStyle
