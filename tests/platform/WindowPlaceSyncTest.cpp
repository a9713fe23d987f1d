#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

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
