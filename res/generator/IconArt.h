// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The small pictures: the emblem, the application icon, the dialog buttons' icons and the
// pointing-hand cursor.
class IconArt {
public:
    static QImage emblem();
    static QImage applicationIcon();
    // The application icon drawn at one of the desktop's icon sizes.
    static QImage applicationIcon(int size);
    // The sizes desktops look for in an icon theme, in pixels.
    static constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
    // The 16 x 16 dialog icon with the given resource number; a null image for other numbers.
    static QImage dialogIcon(int number);
    static QImage pointingHand();

private:
    static QImage logo(int size);
};
