// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <string>

class CDudidEvar;
class QComboBox;
class SourceTrackListing;

// The image tool's subtitle drop-down: "No subtitles" first, then the subtitle files beside the
// video with its base name, then the subtitle tracks found in it (read off the user-interface
// thread, added once known).
class StillSubtitleChoice : public QObject {
    Q_OBJECT
public:
    StillSubtitleChoice(QComboBox& box, CDudidEvar& control, QObject* parent = nullptr);

    // Lists the choices for a video; the choice goes back to "No subtitles".
    void offerFor(const std::string& video);
    // The choice as the control takes it: "" none, a track number or language, or a file.
    std::string subtitles() const;

signals:
    // The tracks of the video last offered are in the list.
    void tracksListed();

private:
    void addTracks();

    QComboBox& box_;
    SourceTrackListing* listing_;
};
