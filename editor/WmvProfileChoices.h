// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// The profiles the WMV panel lists: the control's profiles in its order without those whose
// name contains "Audio" (exact letter case). Each entry keeps the control's own index, which
// is what a task stores, so skipped profiles never shift the choice.
class WmvProfileChoices {
public:
    explicit WmvProfileChoices(const std::vector<std::string>& controlNames);
    // The control's profile names; the collection is fetched anew for the count and each name.
    static std::vector<std::string> profileNames(CDudidEvar& control);

    int count() const { return static_cast<int>(entries_.size()); }
    const std::string& name(int position) const { return entries_.at(static_cast<std::size_t>(position)).name; }
    // The control's index of the entry at a list position; -1 for no entry (no selection).
    int controlIndex(int position) const;
    // The list position of the entry with that control index; -1 when the list has none.
    int positionOf(int controlIndex) const;

private:
    struct Entry {
        std::string name;
        int controlIndex;
    };
    std::vector<Entry> entries_;
};
