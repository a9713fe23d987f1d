// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstallDir.h"

namespace InstallDir {

namespace {

std::string& stored()
{
    static std::string folder;
    return folder;
}

}  // namespace

const std::string& get()
{
    return stored();
}

void set(const std::string& folder)
{
    stored() = folder.size() <= kMaxLength ? folder : std::string();
}

}  // namespace InstallDir
