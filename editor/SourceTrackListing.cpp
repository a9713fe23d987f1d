// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/SourceTrackListing.h"

#include <QThread>

#include "engine/CDudidEvar.h"

SourceTrackListing::SourceTrackListing(CDudidEvar& control, QObject* parent) : QObject(parent), control_(control) {}

SourceTrackListing::~SourceTrackListing()
{
    finishRunning();
}

void SourceTrackListing::finishRunning()
{
    if (worker_)
        worker_->wait();
}

void SourceTrackListing::start(const std::vector<std::string>& sources)
{
    finishRunning();
    const int reading = ++reading_;
    found_.clear();
    worker_.reset(QThread::create([this, sources] {
        for (const std::string& source : sources)
            found_.push_back(control_.GetTracks(source));
    }));
    // Delivered on this object's thread once the worker has ended; an older reading's end,
    // still queued, is passed over.
    connect(worker_.get(), &QThread::finished, this, [this, reading] {
        if (reading != reading_)
            return;
        tracks_ = found_;
        emit listed();
    });
    worker_->start();
}
