// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/VideoDropTarget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include "platform/DroppedFiles.h"

VideoDropTarget::VideoDropTarget(QWidget* dialog, Busy busy, Take take)
    : QObject(dialog), busy_(std::move(busy)), take_(std::move(take))
{
    dialog->setAcceptDrops(true);
    dialog->installEventFilter(this);
}

bool VideoDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (busy_() || !drop->mimeData()->hasUrls()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        const DroppedFiles dropped(drop->mimeData()->urls());
        if (!dropped.videos().isEmpty())
            take_(dropped.videos());
    }
    return true;
}
