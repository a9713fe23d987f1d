// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/CHoverButton.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "res/Resources.h"
#include "skin/CommandEvent.h"
#include "skin/HoverFrames.h"

namespace {

CHoverButton::MenuRunner& installedRunner()
{
    static CHoverButton::MenuRunner runner;
    return runner;
}

QAction* runMenu(QMenu& menu, const QPoint& at)
{
    const auto& runner = installedRunner();
    return runner ? runner(menu, at) : menu.exec(at);
}

std::unique_ptr<QMenu> buildMenu(const MenuResource& items, QWidget* parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    for (const MenuItem& item : items) {
        if (item.isSeparator())
            menu->addSeparator();
        else
            menu->addAction(item.text)->setData(item.command);
    }
    return menu;
}

}  // namespace

CHoverButton::MenuRunner CHoverButton::InstallMenuRunner(MenuRunner runner)
{
    return std::exchange(installedRunner(), std::move(runner));
}

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent)
{
    // First in line, so the menu has run and its command is posted before the owner's own
    // click handler runs.
    connect(this, &QAbstractButton::clicked, this, &CHoverButton::onClicked);
}

CHoverButton::~CHoverButton() = default;

bool CHoverButton::LoadStateBitmap(int bitmap, int frameCount, bool redraw)
{
    return LoadStateImage(Resources::bitmap(bitmap), frameCount, redraw);
}

bool CHoverButton::LoadStateImage(const QImage& strip, int frameCount, bool redraw)
{
    if (strip.isNull())
        return false;
    frameCount_ = std::max(frameCount, 1);
    const QPalette& colours = palette();
    strip_ = QPixmap::fromImage(HoverFrames::Map3DColors(strip, colours.color(QPalette::Dark),
                                                         colours.color(QPalette::Button),
                                                         colours.color(QPalette::Midlight)));
    frameWidth_ = strip.width() / frameCount_;
    frameHeight_ = strip.height();
    resize(frameWidth_, frameHeight_);
    raise();
    if (redraw)
        update();
    return true;
}

void CHoverButton::SetToolTipText(const QString& text, bool activate)
{
    if (text.isNull())
        return;
    toolAdded_ = true;
    setToolTip(text);
    toolTipActive_ = activate;
    if (!activate)
        QToolTip::hideText();
}

void CHoverButton::SetPopupMenu(int menu, QWidget* owner, bool redraw)
{
    menu_.reset();
    menuOwner_.clear();
    if (menu != 0) {
        const auto items = Resources::menu(menu);
        if (!items)
            return;
        menu_ = buildMenu(*items, this);
        menuOwner_ = owner;
    }
    if (redraw)
        update();
}

QAction* CHoverButton::MenuAction(int command) const
{
    if (!menu_)
        return nullptr;
    for (QAction* action : menu_->actions()) {
        if (!action->isSeparator() && action->data().toInt() == command)
            return action;
    }
    return nullptr;
}

int CHoverButton::CurrentFrame() const
{
    return HoverFrames::Choose(frameCount_, isDown(), !isEnabled(), hovering_);
}

void CHoverButton::paintEvent(QPaintEvent*)
{
    if (strip_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, strip_, CurrentFrame() * frameWidth_, 0, frameWidth_, frameHeight_);
}

void CHoverButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void CHoverButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void CHoverButton::setHovering(bool hovering)
{
    if (hovering_ == hovering)
        return;
    hovering_ = hovering;
    update();
}

bool CHoverButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !(toolAdded_ && toolTipActive_)) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QAbstractButton::event(event);
}

void CHoverButton::onClicked()
{
    setFocus(Qt::MouseFocusReason);
    if (!menu_)
        return;
    QAction* chosen = runMenu(*menu_, mapToGlobal(QPoint(0, height())));
    if (chosen && menuOwner_)
        QCoreApplication::postEvent(menuOwner_, new CommandEvent(chosen->data().toInt()));
}
