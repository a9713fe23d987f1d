#include "platform/WindowPlaceSync.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

WindowPlaceSync::WindowPlaceSync(QObject* application) : QObject(application)
{
    application->installEventFilter(this);
}

WindowPlaceSync::~WindowPlaceSync()
{
    if (parent())
        parent()->removeEventFilter(this);
}

bool WindowPlaceSync::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || !watched->isWindowType())
        return false;
    auto* window = static_cast<QWindow*>(watched);
    const Qt::WindowType type = window->type();
    if (window->parent() || type == Qt::Popup || type == Qt::ToolTip)
        return false;
    const auto* press = static_cast<QMouseEvent*>(event);
    const QPoint trueCorner = (press->globalPosition() - press->position()).toPoint();
    if (trueCorner != window->position())
        window->setPosition(trueCorner);
    return false;
}
