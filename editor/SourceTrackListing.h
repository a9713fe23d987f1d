// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "engine/SourceTrack.h"

class CDudidEvar;
class QThread;

// Reads the tracks of a task's sources off the user-interface thread (a source the control
// has not measured yet is opened and read) and tells when they are known.
class SourceTrackListing : public QObject {
    Q_OBJECT
public:
    using SourceTracks = std::vector<std::vector<SourceTrack>>;

    explicit SourceTrackListing(CDudidEvar& control, QObject* parent = nullptr);
    // Waits for a reading under way.
    ~SourceTrackListing() override;

    // Starts reading; a reading under way is finished first and its result dropped.
    void start(const std::vector<std::string>& sources);
    // Each source's tracks, in the order of the sources of the last reading finished.
    const SourceTracks& tracks() const { return tracks_; }

signals:
    void listed();

private:
    void finishRunning();

    CDudidEvar& control_;
    std::unique_ptr<QThread> worker_;
    int reading_ = 0;  // which reading the worker is doing
    SourceTracks found_;  // the worker's result, read once it has finished
    SourceTracks tracks_;
};
