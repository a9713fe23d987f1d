// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QString>

// The private messages between the main window, the audio tool and its progress dialog, posted
// through the event queue so they are handled in the order they were sent.
class ExtractionEvent : public QEvent {
public:
    // The current item has finished (from the control's completion).
    static constexpr Type ItemDone = Type(2020);
    // Progress of the current item: seconds done and its length.
    static constexpr Type ItemProgress = Type(2021);
    // The current item could not be written: refused at its start or failed midway.
    static constexpr Type ItemFailed = Type(2022);
    // All items have been handled: the run's closing message.
    static constexpr Type RunEnded = Type(2023);
    // Progress of the current file, passed on to the progress dialog.
    static constexpr Type FileProgress = Type(2025);
    // A file has finished: its length joins the seconds done.
    static constexpr Type FileDone = Type(2026);

    explicit ExtractionEvent(Type type, double first = 0.0, double second = 0.0);

    double first() const { return first_; }
    double second() const { return second_; }
    // The run the event belongs to (events of the tool itself).
    int run = 0;
    QString reason;

private:
    double first_;
    double second_;
};
