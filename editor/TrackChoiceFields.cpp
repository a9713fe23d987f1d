// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TrackChoiceFields.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

namespace {

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

// The open list is as wide as its longest entry ("jpn – Commentary"), the box keeps its place.
void widenList(QComboBox& box)
{
    QAbstractItemView* list = box.view();
    list->setMinimumWidth(std::max(box.width(), list->sizeHintForColumn(0) + 2 * list->frameWidth() + 4));
}

// What the box holds as the task keeps it: the entry's meaning, or the text typed in.
std::string valueOf(const QComboBox& box)
{
    const QString typed = box.currentText().trimmed();
    const int index = box.findText(typed);
    return (index >= 0 ? box.itemData(index).toString() : typed).toStdString();
}

// Whether the language names only that one track of its kind in the source.
bool languageIsUnique(const std::vector<SourceTrack>& source, const SourceTrack& track)
{
    return std::count_if(source.begin(), source.end(), [&](const SourceTrack& t) {
               return t.kind == track.kind && t.language == track.language;
           }) == 1;
}

TrackChoiceFields::Entry entryOf(const std::vector<SourceTrack>& source, const SourceTrack& track)
{
    const std::string number = std::to_string(track.number);
    const bool byLanguage = !track.language.empty() && languageIsUnique(source, track);
    std::string label = byLanguage ? track.language
                                   : "Track " + number + (track.language.empty() ? "" : ": " + track.language);
    if (!track.title.empty())
        label += " \u2013 " + track.title;
    if (track.forced)
        label += " (forced)";
    return {label, byLanguage ? track.language : number};
}

void addEntries(QComboBox& box, const std::vector<TrackChoiceFields::Entry>& entries)
{
    for (const TrackChoiceFields::Entry& e : entries)
        box.addItem(QString::fromStdString(e.label), QString::fromStdString(e.value));
}

}  // namespace

std::vector<TrackChoiceFields::Entry> TrackChoiceFields::entriesFor(const SourceTracks& tracks,
                                                                    SourceTrack::Kind kind)
{
    std::vector<Entry> entries;
    for (const std::vector<SourceTrack>& source : tracks) {
        for (const SourceTrack& track : source) {
            if (track.kind != kind)
                continue;
            const Entry entry = entryOf(source, track);
            const bool known = std::any_of(entries.begin(), entries.end(),
                                           [&](const Entry& e) { return e.value == entry.value; });
            if (!known)
                entries.push_back(entry);
        }
    }
    return entries;
}

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
    firstSource_ = firstSource;
    tracks_.clear();
    rebuild(soundTrack, subtitles);
}

void TrackChoiceFields::offerTracks(const SourceTracks& tracks)
{
    const std::string sound = soundTrack();
    const std::string subtitles = this->subtitles();
    tracks_ = tracks;
    rebuild(sound, subtitles);
}

void TrackChoiceFields::rebuild(const std::string& soundTrack, const std::string& subtitles)
{
    sound_.clear();
    subtitles_.clear();
    sound_.addItem(QString::fromLatin1(kDefaultSound), QString());
    subtitles_.addItem(QString::fromLatin1(kNoSubtitles), QString());
    subtitles_.addItem(QString::fromLatin1(kForcedOnly), QStringLiteral("forced"));
    for (const std::string& file : besideSource(firstSource_))
        subtitles_.addItem(QFileInfo(QString::fromStdString(file)).fileName(), QString::fromStdString(file));
    addEntries(sound_, entriesFor(tracks_, SourceTrack::Kind::Sound));
    addEntries(subtitles_, entriesFor(tracks_, SourceTrack::Kind::Subtitles));
    show(sound_, QString::fromStdString(soundTrack));
    show(subtitles_, QString::fromStdString(subtitles));
    widenList(sound_);
    widenList(subtitles_);
}

std::string TrackChoiceFields::soundTrack() const
{
    return valueOf(sound_);
}

std::string TrackChoiceFields::subtitles() const
{
    return valueOf(subtitles_);
}
