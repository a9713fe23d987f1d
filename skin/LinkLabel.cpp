// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/LinkLabel.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "platform/Prompts.h"
#include "platform/Shell.h"

namespace {

// The wait cursor for as long as the shell takes to answer.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

LinkLabel::LinkLabel(QWidget* parent) : LinkLabel(QString(), parent) {}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setToolTip(target_);
}

void LinkLabel::SetTarget(const QString& target)
{
    target_ = target;
    setToolTip(target_);
}

void LinkLabel::SetLinkCursor(const QCursor& cursor) { setCursor(cursor); }

QColor LinkLabel::TextColor() const
{
    if (hovering_)
        return hoverColor;
    return visited_ ? visitedColor : linkColor;
}

bool LinkLabel::showsText() const { return pixmap().isNull() && !movie() && picture().isNull(); }

void LinkLabel::paintEvent(QPaintEvent* event)
{
    // Picture statics keep their ordinary look.
    if (!showsText()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    QFont underlined = font();
    underlined.setUnderline(true);
    p.setFont(underlined);
    p.setPen(TextColor());
    const int m = margin();
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    p.drawText(contentsRect().adjusted(m, m, -m, -m), flags, text());
}

void LinkLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    setHovering(true);
}

void LinkLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    setHovering(false);
}

void LinkLabel::setHovering(bool hovering)
{
    if (hovering_ == hovering)
        return;
    hovering_ = hovering;
    update();
}

void LinkLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        follow();
}

void LinkLabel::follow()
{
    WaitCursor wait;
    if (target_.isEmpty())
        target_ = text();
    if (Shell::get().open(target_)) {
        visited_ = true;
        update();
    } else {
        Prompts::get().beep();
    }
}
