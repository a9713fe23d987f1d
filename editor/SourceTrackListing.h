// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "engine/SourceTrack.h"

class CDudidEvar;
class ReadingMailbox;

// Reads the tracks of a task's sources off the user-interface thread (a source the control
// has not measured yet is opened and read) and tells when they are known. Nothing waits for a
// reading: one that ends after a newer reading started, or after the listing is gone, is dropped
// (the control keeps its thread until it ends).
class SourceTrackListing : public QObject {
    Q_OBJECT
public:
    using SourceTracks = std::vector<std::vector<SourceTrack>>;

    explicit SourceTrackListing(CDudidEvar& control, QObject* parent = nullptr);
    ~SourceTrackListing() override;

    // Starts reading; the result of a reading under way is dropped.
    void start(const std::vector<std::string>& sources);
    // Each source's tracks, in the order of the sources of the last reading finished.
    const SourceTracks& tracks() const { return tracks_; }

signals:
    void listed();

private:
    void take(const SourceTracks& tracks);

    CDudidEvar& control_;
    std::shared_ptr<ReadingMailbox> mailbox_;  // shared with the readings
    SourceTracks tracks_;
};
