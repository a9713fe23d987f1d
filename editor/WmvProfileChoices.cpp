// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WmvProfileChoices.h"

#include "engine/CDudidEvar.h"

WmvProfileChoices::WmvProfileChoices(const std::vector<std::string>& controlNames)
{
    for (std::size_t i = 0; i < controlNames.size(); ++i) {
        if (controlNames[i].find("Audio") == std::string::npos)
            entries_.push_back({controlNames[i], static_cast<int>(i)});
    }
}

std::vector<std::string> WmvProfileChoices::profileNames(CDudidEvar& control)
{
    std::vector<std::string> names;
    const short count = control.GetWmvProfiles().GetCount();
    for (short i = 0; i < count; ++i)
        names.push_back(control.GetWmvProfiles().GetProfileName(i));
    return names;
}

int WmvProfileChoices::controlIndex(int position) const
{
    if (position < 0 || position >= count())
        return -1;
    return entries_[static_cast<std::size_t>(position)].controlIndex;
}

int WmvProfileChoices::positionOf(int controlIndex) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].controlIndex == controlIndex)
            return static_cast<int>(i);
    }
    return -1;
}
