// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SourceTrackListing.h"

#include "engine/CDudidEvar.h"
#include "engine/ReadingMailbox.h"

SourceTrackListing::SourceTrackListing(CDudidEvar& control, QObject* parent)
    : QObject(parent), control_(control), mailbox_(std::make_shared<ReadingMailbox>(this))
{
}

SourceTrackListing::~SourceTrackListing()
{
    mailbox_->close();
}

void SourceTrackListing::start(const std::vector<std::string>& sources)
{
    const int reading = mailbox_->startReading();
    control_.RunOffThread([mailbox = mailbox_, control = &control_, listing = this, sources, reading] {
        SourceTracks found;
        for (const std::string& source : sources) {
            if (!mailbox->wants(reading))
                return;
            found.push_back(control->GetTracks(source));
        }
        mailbox->deliver(reading, [listing, found] { listing->take(found); });
    });
}

void SourceTrackListing::take(const SourceTracks& tracks)
{
    tracks_ = tracks;
    emit listed();
}
