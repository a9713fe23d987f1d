// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>

// Frame choice and colour mapping of a hover button's strip; no widget needed.
namespace HoverFrames {

// Frames of a 4-frame strip: 0 normal, 1 pressed, 2 hovered, 3 disabled; a 2-frame strip
// shows frame 1 for every state but normal. Pressed wins over disabled, disabled over hovered.
int Choose(int frameCount, bool pressed, bool disabled, bool hovering);

// The strip's dark grey (128), grey (192) and light grey (223) become the desktop's shadow,
// face and light colours, so a strip drawn in those greys follows the desktop's scheme.
QImage Map3DColors(const QImage& strip, const QColor& shadow, const QColor& face, const QColor& light);

}  // namespace HoverFrames
