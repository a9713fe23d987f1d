#pragma once

#include <QObject>

// Keeps every top-level window's idea of where it lies on the screen in step with the screen
// itself. Some window managers place a window without the toolkit learning where (a frameless
// window under openbox believes it lies at 0,0 until it is first moved), and then its menus,
// its dialogs and the start of a drag land far from it. A button press carries both the
// pointer's place on the screen and in the window, so the window's true corner is known at
// every press, before the press is handled; a window that is elsewhere than it believes is told.
// Installed on the application for its whole life.
class WindowPlaceSync : public QObject {
public:
    explicit WindowPlaceSync(QObject* application);
    ~WindowPlaceSync() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
