// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/ProbeShelf.h"

#include <algorithm>

namespace {

// Each kept file holds a descriptor and what its probe read ahead; the next task's source or two
// are all a run of tasks asks for.
constexpr std::size_t kMostFiles = 2;

}  // namespace

void ProbeShelf::put(const std::string& path, const FileIdentity& identity, ff::InputContext input)
{
    Entry dropped;
    const std::lock_guard<std::mutex> hold(lock_);
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
    const auto leaving = same != entries_.end() ? same : entries_.size() >= kMostFiles ? entries_.begin() : entries_.end();
    if (leaving != entries_.end()) {
        dropped = std::move(*leaving);
        entries_.erase(leaving);
    }
    entries_.push_back({path, identity, std::move(input)});
}

ff::InputContext ProbeShelf::take(const std::string& path)
{
    FileIdentity now;
    const bool readable = FileIdentity::of(path, &now);
    const std::lock_guard<std::mutex> hold(lock_);
    const auto kept = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
    if (kept == entries_.end())
        return nullptr;
    ff::InputContext input = std::move(kept->input);
    const bool unchanged = readable && kept->identity == now;
    entries_.erase(kept);
    return unchanged ? std::move(input) : nullptr;
}
