// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TrackChoiceFields.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

constexpr int kTrackNumbersOffered = 4;

// Shows the stored text: the entry that means it, else the text itself, added.
void show(QComboBox& box, const QString& text)
{
    int index = box.findData(text);
    if (index < 0) {
        box.addItem(text, text);
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
    if (box.lineEdit())
        box.lineEdit()->setCursorPosition(0);  // the start of a long path, not its end
}

// What the box holds as the task keeps it: the entry's meaning, or the text typed in.
std::string valueOf(const QComboBox& box)
{
    const QString typed = box.currentText().trimmed();
    const int index = box.findText(typed);
    return (index >= 0 ? box.itemData(index).toString() : typed).toStdString();
}

}  // namespace

std::vector<std::string> TrackChoiceFields::besideSource(const std::string& source)
{
    const QFileInfo info(QString::fromStdString(source));
    const QString base = info.completeBaseName();
    const QStringList names = info.dir().entryList(
        {base + ".srt", base + ".ass", base + ".ssa", base + ".vtt", base + ".*.srt", base + ".*.ass",
         base + ".*.ssa", base + ".*.vtt"},
        QDir::Files, QDir::Name);
    std::vector<std::string> files;
    for (const QString& name : names)
        files.push_back(info.dir().filePath(name).toStdString());
    return files;
}

void TrackChoiceFields::fill(const std::string& firstSource, const std::string& soundTrack,
                             const std::string& subtitles)
{
    sound_.clear();
    subtitles_.clear();
    sound_.addItem(QString::fromLatin1(kDefaultSound), QString());
    subtitles_.addItem(QString::fromLatin1(kNoSubtitles), QString());
    subtitles_.addItem(QString::fromLatin1(kForcedOnly), QStringLiteral("forced"));
    for (const std::string& file : besideSource(firstSource))
        subtitles_.addItem(QFileInfo(QString::fromStdString(file)).fileName(), QString::fromStdString(file));
    for (int n = 1; n <= kTrackNumbersOffered; ++n) {
        sound_.addItem(QStringLiteral("Sound track %1").arg(n), QString::number(n));
        subtitles_.addItem(QStringLiteral("Subtitles %1").arg(n), QString::number(n));
    }
    show(sound_, QString::fromStdString(soundTrack));
    show(subtitles_, QString::fromStdString(subtitles));
}

std::string TrackChoiceFields::soundTrack() const
{
    return valueOf(sound_);
}

std::string TrackChoiceFields::subtitles() const
{
    return valueOf(subtitles_);
}
