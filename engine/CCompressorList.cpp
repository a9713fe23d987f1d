// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CCompressorList.h"

CCompressorList::CCompressorList(std::unique_ptr<ICompressorCollection> collection)
    : collection_(std::move(collection))
{
}

short CCompressorList::GetCount()
{
    return collection_ ? collection_->GetCount() : 0;
}

short CCompressorList::FindIndex(const std::string& name)
{
    return collection_ ? collection_->FindIndex(name) : -1;
}

std::string CCompressorList::GetName(short index)
{
    return collection_ ? collection_->GetName(index) : std::string();
}

bool CCompressorList::ShowPropertyPage(short index)
{
    return collection_ && collection_->ShowPropertyPage(index);
}
