// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlaceSync.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

// Top-level windows the toolkit places by their recorded position; popups and tooltips place
// themselves.
bool isPlacedTopLevel(const QWindow* window)
{
    if (!window || window->parent())
        return false;
    const Qt::WindowType type = window->type();
    return type != Qt::Popup && type != Qt::ToolTip;
}

// The top-level window that a window or a widget lies in.
QWindow* windowOf(QObject* object)
{
    if (object->isWindowType())
        return static_cast<QWindow*>(object);
    if (object->isWidgetType())
        return static_cast<QWidget*>(object)->window()->windowHandle();
    return QGuiApplication::focusWindow();
}

void tellPlace(QWindow& window, QPoint trueCorner)
{
    if (trueCorner != window.position())
        window.setPosition(trueCorner);
}

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// A reply, or none; an error is taken here rather than left to the toolkit's event queue.
template <typename Reply, typename Cookie>
XcbReply<Reply> replyTo(xcb_connection_t* connection, Cookie cookie,
                        Reply* (*read)(xcb_connection_t*, Cookie, xcb_generic_error_t**))
{
    xcb_generic_error_t* error = nullptr;
    XcbReply<Reply> reply(read(connection, cookie, &error), &std::free);
    std::free(error);
    return reply;
}

// The window's corner on its screen's root as the X server has it, in the toolkit's units.
std::optional<QPoint> askX11(QWindow& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window.handle())
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const auto geometry = replyTo(connection, xcb_get_geometry(connection, id), &xcb_get_geometry_reply);
    if (!geometry)
        return std::nullopt;
    const auto corner = replyTo(connection, xcb_translate_coordinates(connection, id, geometry->root, 0, 0),
                                &xcb_translate_coordinates_reply);
    if (!corner)
        return std::nullopt;
    const qreal ratio = window.devicePixelRatio() > 0 ? window.devicePixelRatio() : 1.0;
    return (QPointF(corner->dst_x, corner->dst_y) / ratio).toPoint();
}

}  // namespace

WindowPlaceSync::WindowPlaceSync(QObject* application, Locator locator)
    : QObject(application), locator_(std::move(locator))
{
    application->installEventFilter(this);
}

WindowPlaceSync::~WindowPlaceSync()
{
    if (parent())
        parent()->removeEventFilter(this);
}

WindowPlaceSync::Locator WindowPlaceSync::displayLocator()
{
    return askX11;
}

bool WindowPlaceSync::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched->isWindowType() && isPlacedTopLevel(static_cast<QWindow*>(watched))) {
            const auto* press = static_cast<QMouseEvent*>(event);
            tellPlace(*static_cast<QWindow*>(watched), (press->globalPosition() - press->position()).toPoint());
        }
        break;
    case QEvent::Expose:
    case QEvent::FocusIn:
        if (watched->isWindowType() && locator_) {
            auto* window = static_cast<QWindow*>(watched);
            if (isPlacedTopLevel(window) && window->isVisible())
                if (const std::optional<QPoint> corner = locator_(*window))
                    tellPlace(*window, *corner);
        }
        break;
    case QEvent::ShortcutOverride:
        // Sent to the focus widget once for every key press, before a shortcut such as
        // Alt+Space acts.
        if (QWindow* window = windowOf(watched); window && locator_ && isPlacedTopLevel(window))
            if (const std::optional<QPoint> corner = locator_(*window))
                tellPlace(*window, *corner);
        break;
    default: break;
    }
    return false;
}
