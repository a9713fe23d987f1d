// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DroppedFiles.h"

#include <QFileInfo>

#include "platform/FileFilter.h"

DroppedFiles::DroppedFiles(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            ignored_ << url.toDisplayString();
            continue;
        }
        const QString path = url.toLocalFile();
        if (hasVideoSuffix(path) && QFileInfo(path).isFile())
            videos_ << path;
        else
            ignored_ << path;
    }
}

bool DroppedFiles::hasVideoSuffix(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const char* video : FileFilter::kVideoSuffixes) {
        if (suffix.compare(QLatin1String(video), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
