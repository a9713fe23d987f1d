// SPDX-License-Identifier: GPL-3.0-or-later
// Video files dropped from a file manager: a new task joining them, as Add makes one.
#include "mainwnd/MainWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "platform/DroppedFiles.h"

// Drops are taken when Add is: not during a run, a preview or the audio tool.
bool MainWindow::TakesDrops() const
{
    return created && add.isEnabled() && !execution.extractionActive();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (TakesDrops() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    if (!TakesDrops() || !event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    TakeFiles(event->mimeData()->urls());
}

void MainWindow::TakeFiles(const QList<QUrl>& urls)
{
    const DroppedFiles dropped(urls);
    for (const QString& other : dropped.ignored())
        logList.Append(QStringLiteral("Not a video file, ignored: %1").arg(other));
    if (!dropped.ignored().isEmpty())
        logList.ScrollToEnd();
    if (dropped.videos().isEmpty())
        return;
    // The editor opens once the drop has returned, so the file manager is not kept waiting.
    const QStringList videos = dropped.videos();
    QMetaObject::invokeMethod(this, [this, videos] { OpenEditorOnDrop(videos); }, Qt::QueuedConnection);
}

void MainWindow::OpenEditorOnDrop(const QStringList& sources)
{
    if (TakesDrops())
        AddTaskFrom(sources);
}

// Files handed over by a later start of the program (or given to this one): the window comes to
// the front, and the videos among them open the editor as a drop does.
void MainWindow::TakeHandedOverFiles(const QStringList& files)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    QList<QUrl> urls;
    for (const QString& file : files)
        urls.append(QUrl::fromLocalFile(file));
    const DroppedFiles handed(urls);
    if (!TakesDrops() && !handed.videos().isEmpty()) {
        logList.Append(QStringLiteral("Busy; the videos handed over are ignored: %1").arg(handed.videos().join(", ")));
        return;
    }
    for (const QString& other : handed.ignored())
        logList.Append(QStringLiteral("Not a video file, ignored: %1").arg(other));
    if (!handed.videos().isEmpty())
        OpenEditorOnDrop(handed.videos());
}
