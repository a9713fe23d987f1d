// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <array>

// The flat push button of the dialogs: its face colour, an icon and its caption at rest, a
// raised one-pixel frame under the pointer and a sunken one while held down. A button made
// with a check-box style is a toggle that looks held down while checked.
class CSkinButton : public QPushButton {
    Q_OBJECT

public:
    enum ColorSlot { BkIn = 0, FgIn = 1, BkOut = 2, FgOut = 3, BkFocus = 4, FgFocus = 5, ColorSlotCount = 6 };
    // The template's button styles this button reads: the type in the low five bits.
    enum StyleBits { PushButtonStyle = 0x00, DefPushButtonStyle = 0x01, CheckBoxStyleBit = 0x02 };
    // Second-icon choices besides an icon of its own.
    static constexpr int NoSecondIcon = 0;
    static constexpr int IconGrayscale = -2;
    static constexpr int IconDarker = -3;

    explicit CSkinButton(QWidget* parent = nullptr, int style = PushButtonStyle);
    CSkinButton(const QString& caption, QWidget* parent = nullptr, int style = PushButtonStyle);

    // Icons from the program's icon resources; the second is 0, an icon number, IconGrayscale
    // or IconDarker. 0 on success, 1 when an icon cannot be had (the button then has none).
    int SetIcons(int normalIcon, int secondIcon);
    int SetIconHandles(const QImage& normal, const QImage& second = QImage());
    int SetIconHandles(const QImage& normal, int derivedSecond);
    int SetCheck(int state, bool redraw = true);
    bool GetCheck() const;
    int SetDefaultColors(bool redraw = true);
    // Brightens (positive shade) or darkens one colour slot: 0, or 3 for a bad slot, 5 for a
    // shade outside -255..255.
    int OffsetColor(int slot, int shade, bool redraw = true);
    // Changes the button type: a default push button (1) or a plain one (0); others leave it.
    void SetButtonStyle(int style, bool redraw = true);

    QColor Color(int slot) const;
    bool IsCheckMode() const { return checkMode_; }
    bool IsMouseOver() const { return mouseOver_; }
    const QPixmap& NormalIcon() const { return icons_[0]; }
    const QPixmap& SecondIcon() const { return icons_[1]; }

    static constexpr int imageOrigin = 3;
    static constexpr QPoint pressedOffset{1, 1};

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    virtual void DrawBackground(QPainter& p, const QRect& item);
    virtual void DrawBorder(QPainter& p, const QRect& item);
    virtual void DrawIcon(QPainter& p, bool hasCaption, const QRect& item, QRect& caption, bool pressed,
                          bool disabled);
    virtual void DrawCaption(QPainter& p, const QString& text, const QRect& item, QRect& caption, bool pressed,
                             bool disabled);

private:
    void attach(int style);
    void onClicked();
    void trackPointer(Qt::MouseButtons buttons, bool overThis);
    void endHover();
    void handFocusOn();
    int releaseIconsAndFail();
    void faceColors(QColor& face, QColor& text) const;

    bool mouseOver_ = false;
    bool pressed_ = false;
    bool focused_ = false;
    bool disabled_ = false;
    bool checkMode_ = false;
    std::array<QColor, ColorSlotCount> colors_;
    std::array<QPixmap, 2> icons_;
};
