// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/CSkinButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "res/Resources.h"
#include "skin/SkinColors.h"

namespace {

// A one-pixel frame: top and left in one colour, bottom and right (with both far corners) in
// the other.
void draw3dRect(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    const int x = r.x(), y = r.y(), cx = r.width(), cy = r.height();
    p.fillRect(x, y, cx - 1, 1, topLeft);
    p.fillRect(x, y, 1, cy - 1, topLeft);
    p.fillRect(x + cx - 1, y, 1, cy, bottomRight);
    p.fillRect(x, y + cy - 1, cx, 1, bottomRight);
}

constexpr int captionFlags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::TextShowMnemonic;

}  // namespace

CSkinButton::CSkinButton(QWidget* parent, int style) : CSkinButton(QString(), parent, style) {}

CSkinButton::CSkinButton(const QString& caption, QWidget* parent, int style) : QPushButton(caption, parent)
{
    SetDefaultColors(false);
    setMouseTracking(true);
    attach(style);
    // Connected before anyone else, so the button has the focus and its new check state
    // when the owner's own click handler runs.
    connect(this, &QAbstractButton::clicked, this, &CSkinButton::onClicked);
}

void CSkinButton::attach(int style)
{
    const int s = style & 0xFF;
    if (s & CheckBoxStyleBit) {
        checkMode_ = true;
        setCheckable(true);
        setAutoDefault(false);
    }
    if ((s & 0x1F) == DefPushButtonStyle)
        setDefault(true);
}

int CSkinButton::SetIcons(int normalIcon, int secondIcon)
{
    const QImage normal = Resources::icon(normalIcon);
    if (secondIcon == IconGrayscale || secondIcon == IconDarker || secondIcon == NoSecondIcon)
        return SetIconHandles(normal, secondIcon);
    const QImage second = Resources::icon(secondIcon);
    if (second.isNull())
        return releaseIconsAndFail();
    return SetIconHandles(normal, second);
}

int CSkinButton::SetIconHandles(const QImage& normal, const QImage& second)
{
    icons_ = {};
    if (normal.isNull())
        return releaseIconsAndFail();
    icons_[0] = QPixmap::fromImage(normal);
    if (!second.isNull())
        icons_[1] = QPixmap::fromImage(second);
    update();
    return 0;
}

int CSkinButton::SetIconHandles(const QImage& normal, int derivedSecond)
{
    switch (derivedSecond) {
    case IconGrayscale: return SetIconHandles(normal, SkinColors::MakeGrayscaleIcon(normal));
    case IconDarker: return SetIconHandles(normal, SkinColors::MakeDarkerIcon(normal));
    default: return SetIconHandles(normal, QImage());
    }
}

int CSkinButton::releaseIconsAndFail()
{
    icons_ = {};
    update();
    return 1;
}

int CSkinButton::SetCheck(int state, bool redraw)
{
    if (!checkMode_)
        return 0;
    setChecked(state != 0);
    if (redraw)
        update();
    return 0;
}

bool CSkinButton::GetCheck() const { return checkMode_ && isChecked(); }

int CSkinButton::SetDefaultColors(bool redraw)
{
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::ButtonText);
    colors_[BkIn] = colors_[BkOut] = colors_[BkFocus] = face;
    colors_[FgIn] = colors_[FgOut] = colors_[FgFocus] = text;
    if (redraw)
        update();
    return 0;
}

int CSkinButton::OffsetColor(int slot, int shade, bool redraw)
{
    if (slot < 0 || slot >= ColorSlotCount)
        return 3;
    if (shade < -255 || shade > 255)
        return 5;
    colors_[slot] = SkinColors::OffsetColorValue(colors_[slot], shade);
    if (redraw)
        update();
    return 0;
}

void CSkinButton::SetButtonStyle(int style, bool redraw)
{
    const int type = style & 0x1F;
    if (type == DefPushButtonStyle)
        setDefault(true);
    else if (type == PushButtonStyle)
        setDefault(false);
    if (redraw)
        update();
}

QColor CSkinButton::Color(int slot) const
{
    return slot >= 0 && slot < ColorSlotCount ? colors_[slot] : QColor();
}

void CSkinButton::onClicked()
{
    setFocus(Qt::MouseFocusReason);
    if (checkMode_)
        update();
}

void CSkinButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    pressed_ = checkMode_ ? (isDown() || isChecked()) : isDown();
    focused_ = hasFocus();
    disabled_ = !isEnabled();
    const QRect item = rect();
    DrawBackground(p, item);
    DrawBorder(p, item);
    const QString caption = text();
    QRect captionRect = item;
    if (!icons_[0].isNull())
        DrawIcon(p, !caption.isEmpty(), item, captionRect, pressed_, disabled_);
    if (!caption.isEmpty())
        DrawCaption(p, caption, item, captionRect, pressed_, disabled_);
}

void CSkinButton::faceColors(QColor& face, QColor& text) const
{
    if (mouseOver_ || pressed_) {
        face = colors_[BkIn];
        text = colors_[FgIn];
    } else if (focused_) {
        face = colors_[BkFocus];
        text = colors_[FgFocus];
    } else {
        face = colors_[BkOut];
        text = colors_[FgOut];
    }
}

void CSkinButton::DrawBackground(QPainter& p, const QRect& item)
{
    QColor face, text;
    faceColors(face, text);
    p.fillRect(item, face);
}

void CSkinButton::DrawBorder(QPainter& p, const QRect& item)
{
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    if (pressed_)
        draw3dRect(p, item, shadow, highlight);
    else if (mouseOver_)
        draw3dRect(p, item, highlight, shadow);
}

void CSkinButton::DrawIcon(QPainter& p, bool hasCaption, const QRect& item, QRect& caption, bool pressed,
                           bool disabled)
{
    const bool showNormal = checkMode_ ? pressed : (pressed || mouseOver_);
    const QPixmap& icon = showNormal || icons_[1].isNull() ? icons_[0] : icons_[1];
    const int w = icon.width();
    const int h = icon.height();
    QPoint at(hasCaption ? item.left() + imageOrigin : item.left() + (item.width() - w) / 2,
              item.top() + (item.height() - h) / 2);
    if (hasCaption)
        caption.setLeft(caption.left() + imageOrigin + w);
    if (pressed && !checkMode_)
        at += pressedOffset;
    if (disabled) {
        QStyleOption option;
        option.initFrom(this);
        p.drawPixmap(at, style()->generatedIconPixmap(QIcon::Disabled, icon, &option));
    } else {
        p.drawPixmap(at, icon);
    }
}

void CSkinButton::DrawCaption(QPainter& p, const QString& text, const QRect& item, QRect& caption, bool pressed,
                              bool disabled)
{
    Q_UNUSED(item);
    if (pressed && !checkMode_)
        caption.translate(pressedOffset);
    p.setFont(font());
    const QRect measured = p.fontMetrics().boundingRect(caption, captionFlags, text);
    const QRect centred(caption.left() + (caption.width() - measured.width()) / 2,
                        caption.top() + (caption.height() - measured.height()) / 2, measured.width(),
                        measured.height());
    if (disabled) {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(centred.translated(1, 1), captionFlags, text);
        p.setPen(palette().color(QPalette::Dark));
        p.drawText(centred, captionFlags, text);
        return;
    }
    QColor face, ink;
    faceColors(face, ink);
    p.setPen(ink);
    p.drawText(centred, captionFlags, text);
}

void CSkinButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    trackPointer(QGuiApplication::mouseButtons(), true);
}

void CSkinButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    endHover();
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    trackPointer(event->buttons(), rect().contains(event->position().toPoint()));
}

void CSkinButton::trackPointer(Qt::MouseButtons buttons, bool overThis)
{
    // A drag that began elsewhere does not light the button up.
    if ((buttons & Qt::LeftButton) && !mouseOver_)
        return;
    if (!overThis) {
        endHover();
        return;
    }
    if (!mouseOver_) {
        mouseOver_ = true;
        update();
    }
}

void CSkinButton::endHover()
{
    if (!mouseOver_)
        return;
    mouseOver_ = false;
    update();
}

void CSkinButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A fast second click is a click of its own.
    mousePressEvent(event);
}

void CSkinButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    endHover();
}

void CSkinButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && testAttribute(Qt::WA_ForceDisabled)) {
        handFocusOn();
        endHover();
    }
}

bool CSkinButton::event(QEvent* event)
{
    const bool handled = QPushButton::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange)
        SetDefaultColors(true);
    return handled;
}

void CSkinButton::handFocusOn()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    QWidget* dialog = window();
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (dialog->isAncestorOf(w) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            w->isVisibleTo(dialog)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    parent->setFocus(Qt::OtherFocusReason);
}
