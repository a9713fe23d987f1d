// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dudidevar/source/FileIdentity.h"
#include "dudidevar/source/ProbeShelf.h"
#include "engine/SourceTrack.h"

// The length, picture size and tracks of the files asked about, each file opened and measured
// once while it stays as it was: a task list asks for a source's length and size several times
// before and while it converts it, and each opening reads and decodes the start of the file.
// Files may be asked about from several threads at once.
class MeasuredFiles {
public:
    struct Measures {
        double seconds = 0.0;  // 0 when the file cannot be read
        int width = 0;         // the picture as shown; 0 without one
        int height = 0;
        std::vector<SourceTrack> tracks;
    };

    // keepProbe: a file measured now that measuring read nothing more of than its probe is left
    // on the shelf of probes for its conversion.
    Measures of(const std::string& path, bool keepProbe = false);

    const std::shared_ptr<ProbeShelf>& probes() const { return probes_; }

private:
    struct Entry {
        FileIdentity identity;
        Measures measures;
    };
    struct Measured {
        Measures measures;
        ff::InputContext asProbed;  // null when measuring read on beyond the probe
    };

    static Measured measure(const std::string& path);

    std::mutex lock_;  // guards files_, not the measuring
    std::map<std::string, Entry> files_;
    std::shared_ptr<ProbeShelf> probes_ = std::make_shared<ProbeShelf>();
};
