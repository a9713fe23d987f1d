// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <functional>
#include <optional>

#include "platform/WindowPlaceSync.h"

namespace {

// A press whose place in the window and on the screen say where the window truly lies.
void press(QWindow& window, QPoint inWindow, QPoint onScreen)
{
    QMouseEvent event(QEvent::MouseButtonPress, inWindow, inWindow, onScreen, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

}  // namespace

// A window that believes it lies elsewhere than a press shows (a window manager placed it without
// telling) is told its true place before the press is handled; menus, dialogs and drags then start
// from there. Popups place themselves and are left alone.
TEST(WindowPlaceSync, APressTellsATopLevelWindowWhereItTrulyLies)
{
    const WindowPlaceSync sync(QCoreApplication::instance());
    QWindow window;
    window.setGeometry(0, 0, 200, 150);
    window.show();

    press(window, {10, 10}, {310, 210});
    EXPECT_EQ(window.position(), QPoint(300, 200));
    EXPECT_EQ(window.mapToGlobal(QPoint(14, 35)), QPoint(314, 235));
    press(window, {20, 5}, {320, 205});  // in step: nothing changes
    EXPECT_EQ(window.position(), QPoint(300, 200));

    QWindow popup;
    popup.setFlags(Qt::Popup);
    popup.setGeometry(50, 50, 80, 40);
    popup.show();
    press(popup, {1, 1}, {500, 500});
    EXPECT_EQ(popup.position(), QPoint(50, 50));
}

// Before any press: when the window is exposed or activated, and before a key press is handled
// (Alt+Space opens the window menu at the window's corner), the display is asked where it lies.
TEST(WindowPlaceSync, ExposureActivationAndKeysAskTheDisplayWhereTheWindowLies)
{
    std::optional<QPoint> onDisplay = QPoint(230, 123);
    int asked = 0;
    const WindowPlaceSync sync(QCoreApplication::instance(), [&](QWindow&) {
        ++asked;
        return onDisplay;
    });
    QWindow window;
    window.setGeometry(0, 0, 200, 150);
    window.show();
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    const struct {
        const char* what;
        std::function<void()> send;
    } events[] = {
        {"exposure", [&] {
             QExposeEvent exposed(QRegion(0, 0, 200, 150));
             QCoreApplication::sendEvent(&window, &exposed);
         }},
        {"activation", [&] { QCoreApplication::sendEvent(&window, &activated); }},
        {"key", [&] {
             QKeyEvent key(QEvent::ShortcutOverride, Qt::Key_Space, Qt::AltModifier);
             QCoreApplication::sendEvent(&window, &key);
         }},
    };
    for (const auto& event : events) {
        SCOPED_TRACE(event.what);
        window.setPosition(0, 0);
        const int before = asked;
        event.send();
        EXPECT_GT(asked, before);
        EXPECT_EQ(window.position(), QPoint(230, 123));
    }
    onDisplay.reset();  // a display that cannot say leaves the window as it is
    window.setPosition(10, 10);
    QCoreApplication::sendEvent(&window, &activated);
    EXPECT_EQ(window.position(), QPoint(10, 10));
}
