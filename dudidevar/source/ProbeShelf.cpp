// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/ProbeShelf.h"

#include <algorithm>

namespace {

// Each kept file holds a descriptor and what its probe read ahead.
constexpr std::size_t kMostFiles = 8;
constexpr auto kLongestKept = std::chrono::seconds(30);

}  // namespace

// Called under the lock; the files are closed by the caller after it lets go.
std::deque<ProbeShelf::Entry> ProbeShelf::expired(Clock::time_point now)
{
    std::deque<Entry> old;
    while (!entries_.empty() && now - entries_.front().kept > kLongestKept) {
        old.push_back(std::move(entries_.front()));
        entries_.pop_front();
    }
    return old;
}

void ProbeShelf::put(const std::string& path, const FileIdentity& identity, ff::InputContext input,
                     Clock::time_point now)
{
    std::deque<Entry> closing;
    const std::lock_guard<std::mutex> hold(lock_);
    closing = expired(now);
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
    if (same != entries_.end()) {
        closing.push_back(std::move(*same));
        entries_.erase(same);
    }
    if (entries_.size() < kMostFiles)
        entries_.push_back({path, identity, std::move(input), now});
}

ff::InputContext ProbeShelf::take(const std::string& path, Clock::time_point now)
{
    FileIdentity current;
    const bool readable = FileIdentity::of(path, &current);
    std::deque<Entry> closing;
    ff::InputContext input;
    const std::lock_guard<std::mutex> hold(lock_);
    closing = expired(now);
    const auto kept = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
    if (kept == entries_.end())
        return nullptr;
    if (readable && kept->identity == current)
        input = std::move(kept->input);
    entries_.erase(kept);
    return input;
}

void ProbeShelf::clear()
{
    std::deque<Entry> closing;
    const std::lock_guard<std::mutex> hold(lock_);
    closing.swap(entries_);
}
