// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/control/MeasuredFiles.h"

#include <sys/stat.h>

#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/StreamPicker.h"

namespace {

// Files remembered at most; a longer list starts again.
constexpr std::size_t kMostFiles = 4096;

std::int64_t nanoseconds(const timespec& time)
{
    return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

MeasuredFiles::Measures MeasuredFiles::of(const std::string& path)
{
    Identity identity;
    if (!identify(path, &identity))
        return measure(path);
    {
        const std::lock_guard<std::mutex> hold(lock_);
        const auto known = files_.find(path);
        if (known != files_.end() && known->second.identity == identity)
            return known->second.measures;
    }
    const Measures measures = measure(path);
    // A file that changed while it was read is measured again next time.
    Identity after;
    const bool unchanged = identify(path, &after) && after == identity;
    const std::lock_guard<std::mutex> hold(lock_);
    if (files_.size() >= kMostFiles)
        files_.clear();
    if (unchanged)
        files_[path] = {identity, measures};
    else
        files_.erase(path);
    return measures;
}

bool MeasuredFiles::identify(const std::string& path, Identity* identity)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    *identity = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), std::int64_t(info.st_size),
                 nanoseconds(info.st_mtim), nanoseconds(info.st_ctim)};
    return true;
}

MeasuredFiles::Measures MeasuredFiles::measure(const std::string& path)
{
    ff::InputContext input = MediaProbe::open(path);
    if (!input)
        return {};
    const MediaProbe::Facts facts = MediaProbe::facts(input.get());
    return {MediaProbe::contentSeconds(input.get()), facts.width, facts.height, StreamPicker::tracks(input.get())};
}
