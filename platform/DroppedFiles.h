// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

// The files of a drop from a file manager, sorted into the videos the program takes and the
// rest, each kept in the order dropped. A video is a local file that exists and has one of the
// video suffixes, in any letter case; everything else is ignored.
class DroppedFiles {
public:
    explicit DroppedFiles(const QList<QUrl>& urls);

    // True for a file name with one of the video suffixes.
    static bool hasVideoSuffix(const QString& path);

    const QStringList& videos() const { return videos_; }
    // The dropped items that are not videos: local paths, or the address of anything else.
    const QStringList& ignored() const { return ignored_; }

private:
    QStringList videos_;
    QStringList ignored_;
};
