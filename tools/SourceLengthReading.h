// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>
#include <string>

class CDudidEvar;
class ReadingMailbox;

// Measures a video's length off the user-interface thread (a file on a slow disk, or one whose
// opening is held, would hold the window) and tells it once known. Nothing waits for a
// measure: one that ends after a newer one started, or after the reading is gone, is dropped
// (the control keeps its thread until it ends).
class SourceLengthReading : public QObject {
    Q_OBJECT
public:
    explicit SourceLengthReading(CDudidEvar& control, QObject* parent = nullptr);
    ~SourceLengthReading() override;

    // Starts measuring; the result of a measure under way is dropped.
    void start(const std::string& path);

signals:
    // The length of the video last started, in seconds; 0 when it could not be read.
    void measured(double seconds);

private:
    CDudidEvar& control_;
    std::shared_ptr<ReadingMailbox> mailbox_;  // shared with the measures
};
