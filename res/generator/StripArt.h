// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <vector>

// The main window's hover-button strips: frames side by side, normal, pressed, hovered,
// disabled (or normal and "any other" for a two-frame strip). Each frame's background is
// the part of the skin the button covers, so the buttons sit seamlessly in the window.
class StripArt {
public:
    enum class Look { Tile, Round, WindowButton, Link };
    enum class Mark { Add, Delete, Edit, Tools, Preview, Stop, Execute, Exit, Help, Minimize, Web };

    struct Strip {
        int number;
        QSize size;     // the whole strip
        int frames;
        QPoint place;   // where the main window puts the button
        Look look;
        Mark mark;
        const char* label;
    };

    static const std::vector<Strip>& strips();
    static QImage draw(const Strip& strip, const QImage& skin);

private:
    enum State { Normal, Pressed, Hovered, Disabled };
    static void drawFrame(QPainter& p, const Strip& strip, const QSize& frame, State state);
};
