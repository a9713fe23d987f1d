// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/StillSubtitleChoice.h"

#include <QComboBox>
#include <QFileInfo>

#include "editor/SourceTrackListing.h"
#include "editor/TrackChoiceFields.h"

StillSubtitleChoice::StillSubtitleChoice(QComboBox& box, CDudidEvar& control, QObject* parent)
    : QObject(parent), box_(box), listing_(new SourceTrackListing(control, this))
{
    connect(listing_, &SourceTrackListing::listed, this, &StillSubtitleChoice::addTracks);
}

void StillSubtitleChoice::offerFor(const std::string& video)
{
    box_.clear();
    box_.addItem(QString::fromLatin1(TrackChoiceFields::kNoSubtitles), QString());
    for (const std::string& file : TrackChoiceFields::besideSource(video))
        box_.addItem(QFileInfo(QString::fromStdString(file)).fileName(), QString::fromStdString(file));
    box_.setCurrentIndex(0);
    listing_->start({video});
}

void StillSubtitleChoice::addTracks()
{
    const auto entries = TrackChoiceFields::entriesFor(listing_->tracks(), SourceTrack::Kind::Subtitles);
    for (const TrackChoiceFields::Entry& entry : entries)
        box_.addItem(QString::fromStdString(entry.label), QString::fromStdString(entry.value));
    emit tracksListed();
}

std::string StillSubtitleChoice::subtitles() const
{
    return box_.currentData().toString().toStdString();
}
