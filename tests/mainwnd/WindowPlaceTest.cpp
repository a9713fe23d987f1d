// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window opens on the screens there are now.
#include <gtest/gtest.h>

#include "mainwnd/WindowPlace.h"

namespace {

const QSize kWindow{544, 442};
const QRect kLeft{0, 0, 1920, 1050};       // primary, without its panel
const QRect kRight{1920, 0, 1280, 1024};

TEST(WindowPlace, KeptPlaceStaysWhenWhollyOnAScreenElseComesOnTheOneItOverlapsMost)
{
    struct Case {
        const char* what;
        QPoint kept;
        QList<QRect> screens;
        QPoint opened;
    };
    const Case cases[] = {
        {"on the primary screen", {100, 80}, {kLeft, kRight}, {100, 80}},
        {"on the second screen", {2500, 500}, {kLeft, kRight}, {2500, 500}},
        {"second screen gone", {2500, 500}, {kLeft}, {1920 - 544, 500}},
        {"across both screens, mostly the right", {1700, 100}, {kLeft, kRight}, {1920, 100}},
        {"below every screen", {300, 5000}, {kLeft, kRight}, {300, 1050 - 442}},
        {"above and left of every screen", {-900, -400}, {kLeft, kRight}, {0, 0}},
        {"screen smaller than the window", {50, 50}, {QRect(0, 0, 400, 300)}, {0, 0}},
        {"no screen known", {70, 60}, {}, {70, 60}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowPlace::onScreen(c.kept, kWindow, c.screens), c.opened) << c.what;
}

}  // namespace
