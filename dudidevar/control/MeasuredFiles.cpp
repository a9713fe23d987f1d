// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/control/MeasuredFiles.h"

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/StreamPicker.h"

namespace {

// Files remembered at most; a longer list starts again.
constexpr std::size_t kMostFiles = 4096;

// How far a file has been read: measuring that leaves it where it was has read nothing.
struct ReadingPlace {
    bool known = false;
    std::int64_t bytesRead = 0;
    std::int64_t position = 0;
    bool operator==(const ReadingPlace&) const = default;
};

ReadingPlace placeOf(AVFormatContext* input)
{
    if (!input->pb)
        return {};
    return {true, input->pb->bytes_read, avio_tell(input->pb)};
}

}  // namespace

MeasuredFiles::Measures MeasuredFiles::of(const std::string& path, bool keepProbe)
{
    FileIdentity identity;
    if (!FileIdentity::of(path, &identity))
        return measure(path).measures;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        const auto known = files_.find(path);
        if (known != files_.end() && known->second.identity == identity)
            return known->second.measures;
    }
    Measured measured = measure(path);
    // A file that changed while it was read is measured again next time.
    FileIdentity after;
    const bool unchanged = FileIdentity::of(path, &after) && after == identity;
    if (keepProbe && unchanged && measured.asProbed)
        probes_->put(path, identity, std::move(measured.asProbed));
    const std::lock_guard<std::mutex> hold(lock_);
    if (files_.size() >= kMostFiles)
        files_.clear();
    if (unchanged)
        files_[path] = {identity, measured.measures};
    else
        files_.erase(path);
    return measured.measures;
}

MeasuredFiles::Measured MeasuredFiles::measure(const std::string& path)
{
    ff::InputContext input = MediaProbe::open(path);
    if (!input)
        return {};
    const ReadingPlace probed = placeOf(input.get());
    const MediaProbe::Facts facts = MediaProbe::facts(input.get());
    Measured measured;
    measured.measures = {MediaProbe::contentSeconds(input.get()), facts.width, facts.height,
                         StreamPicker::tracks(input.get())};
    if (probed.known && placeOf(input.get()) == probed)
        measured.asProbed = std::move(input);
    return measured;
}
