// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SourceTrackListing.h"

#include <mutex>

#include "engine/CDudidEvar.h"

// Where a reading leaves its result: queued to the listing while it lives and still wants that
// reading. The lock keeps the listing from going while a result is being queued to it; a result
// still queued when it goes is dropped with it.
class SourceTrackListing::Mailbox {
public:
    explicit Mailbox(SourceTrackListing* listing) : listing_(listing) {}

    void want(int reading)
    {
        const std::lock_guard<std::mutex> hold(lock_);
        wanted_ = reading;
    }
    void close()
    {
        const std::lock_guard<std::mutex> hold(lock_);
        listing_ = nullptr;
    }
    bool wants(int reading)
    {
        const std::lock_guard<std::mutex> hold(lock_);
        return listing_ && wanted_ == reading;
    }
    void deliver(int reading, const SourceTracks& tracks)
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (!listing_ || wanted_ != reading)
            return;
        SourceTrackListing* listing = listing_;
        QMetaObject::invokeMethod(
            listing, [listing, reading, tracks] { listing->take(reading, tracks); }, Qt::QueuedConnection);
    }

private:
    std::mutex lock_;
    SourceTrackListing* listing_;
    int wanted_ = 0;
};

SourceTrackListing::SourceTrackListing(CDudidEvar& control, QObject* parent)
    : QObject(parent), control_(control), mailbox_(std::make_shared<Mailbox>(this))
{
}

SourceTrackListing::~SourceTrackListing()
{
    mailbox_->close();
}

void SourceTrackListing::start(const std::vector<std::string>& sources)
{
    const int reading = ++reading_;
    mailbox_->want(reading);
    control_.RunOffThread([mailbox = mailbox_, control = &control_, sources, reading] {
        SourceTracks found;
        for (const std::string& source : sources) {
            if (!mailbox->wants(reading))
                return;
            found.push_back(control->GetTracks(source));
        }
        mailbox->deliver(reading, found);
    });
}

// An older reading's result, queued before a newer one started, is passed over.
void SourceTrackListing::take(int reading, const SourceTracks& tracks)
{
    if (reading != reading_)
        return;
    tracks_ = tracks;
    emit listed();
}
