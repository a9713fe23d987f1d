// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QWindow;

// Keeps every top-level window's idea of where it lies on the screen in step with the screen
// itself. Some window managers place a window without the toolkit learning where (a frameless
// window under openbox believes it lies at 0,0 until it is first moved), and then its menus,
// its dialogs and the start of a drag land far from it.
//
// A button press carries both the pointer's place on the screen and in the window, so the
// window's true corner is known at every press, before the press is handled. Before any press,
// the window menu (Alt+Space) or another keyboard command may already place something by the
// window: so when a window is exposed or activated, and before a key press is handled, the
// display is asked where the window lies. A window that is elsewhere than it believes is told.
// Installed on the application for its whole life.
class WindowPlaceSync : public QObject {
public:
    // Where the display shows a window's top-left corner; nothing when it cannot say.
    using Locator = std::function<std::optional<QPoint>(QWindow&)>;

    // The locator asks the X server when the application runs on one.
    explicit WindowPlaceSync(QObject* application, Locator locator = displayLocator());
    ~WindowPlaceSync() override;

    static Locator displayLocator();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Locator locator_;
};
