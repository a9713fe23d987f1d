// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CWmvProfileList.h"

CWmvProfileList::CWmvProfileList(std::unique_ptr<IWmvProfileCollection> collection)
    : collection_(std::move(collection))
{
}

short CWmvProfileList::GetCount()
{
    return collection_ ? collection_->GetCount() : 0;
}

std::string CWmvProfileList::GetProfileName(short index)
{
    return collection_ ? collection_->GetProfileName(index) : std::string();
}
