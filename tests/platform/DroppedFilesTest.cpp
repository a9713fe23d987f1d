// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/DroppedFiles.h"

namespace {

TEST(DroppedFiles, VideoSuffixesInAnyLetterCase)
{
    for (const char* name : {"a.MPEG", "a.Avi", "a.3gp", "/x.y/clip.tar.mp4"})
        EXPECT_TRUE(DroppedFiles::hasVideoSuffix(name)) << name;
    for (const char* name : {"a.txt", "a.mp3", "mpg", "/clips.avi/readme", "a.avi.txt", "a.", "a.mpg4"})
        EXPECT_FALSE(DroppedFiles::hasVideoSuffix(name)) << name;
}

// Only existing local files with a video suffix are videos; the order of the drop is kept.
TEST(DroppedFiles, SortsADropIntoVideosAndIgnoredItems)
{
    QTemporaryDir dir;
    const auto made = [&](const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    };
    const QString b = made("b.MKV");
    const QString notes = made("notes.txt");
    const QString a = made("a.avi");
    const QString folder = dir.filePath("folder.mp4");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString missing = dir.filePath("gone.mpg");

    const DroppedFiles dropped({QUrl::fromLocalFile(b), QUrl::fromLocalFile(notes), QUrl("https://host/c.mp4"),
                                QUrl::fromLocalFile(folder), QUrl::fromLocalFile(missing), QUrl::fromLocalFile(a)});
    EXPECT_EQ(dropped.videos(), QStringList({b, a}));
    EXPECT_EQ(dropped.ignored(), QStringList({notes, "https://host/c.mp4", folder, missing}));

    EXPECT_TRUE(DroppedFiles({}).videos().isEmpty());
}

}  // namespace
