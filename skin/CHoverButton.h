// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <memory>

class QMenu;
class QAction;

// A button that paints itself from a strip of pictures, one frame per state (normal,
// pressed, hovered, disabled; or normal and any other), shows a tooltip and can drop down a
// menu whose chosen command is posted to the menu's owner as a CommandEvent.
class CHoverButton : public QAbstractButton {
    Q_OBJECT

public:
    // Runs a menu at a screen position and returns the chosen action, or null.
    using MenuRunner = std::function<QAction*(QMenu& menu, const QPoint& at)>;
    // Puts a runner in place for every hover button (tests answer without a menu on screen);
    // an empty one restores the real menu. Returns the runner it replaces.
    static MenuRunner InstallMenuRunner(MenuRunner runner);

    explicit CHoverButton(QWidget* parent = nullptr);
    ~CHoverButton() override;

    // Loads a strip bitmap resource; false when the number names no bitmap.
    bool LoadStateBitmap(int bitmap, int frameCount, bool redraw);
    // The same with a picture at hand.
    bool LoadStateImage(const QImage& strip, int frameCount, bool redraw);
    // A null text does nothing; otherwise sets the one tooltip's text and (de)activates it.
    void SetToolTipText(const QString& text, bool activate);
    // Attaches menu resource `menu` (0 removes the menu) whose commands go to `owner`.
    void SetPopupMenu(int menu, QWidget* owner, bool redraw);

    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    int FrameCount() const { return frameCount_; }
    int CurrentFrame() const;
    bool IsHovering() const { return hovering_; }
    int ToolCount() const { return toolAdded_ ? 1 : 0; }
    bool IsToolTipActive() const { return toolTipActive_; }
    bool HasMenu() const { return menu_ != nullptr; }
    // The entry of the attached menu that gives the command, or null.
    QAction* MenuAction(int command) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void onClicked();
    void setHovering(bool hovering);

    bool hovering_ = false;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    QPixmap strip_;
    bool toolAdded_ = false;
    bool toolTipActive_ = false;
    int frameCount_ = 0;
    std::unique_ptr<QMenu> menu_;
    QPointer<QWidget> menuOwner_;
};
