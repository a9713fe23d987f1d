// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ControlModule.h"

#include "platform/LoadedModule.h"
#include "platform/PathNames.h"

namespace ControlModule {

std::string pathIn(const std::string& folder)
{
    return PathNames::withTrailingSeparator(folder.empty() ? std::string("/") : folder) + kFileName;
}

bool registerFrom(const std::string& folder, std::string* error)
{
    LoadedModule module(pathIn(folder));
    if (!module.isLoaded()) {
        if (error)
            *error = module.error();
        return false;
    }
    using RegisterFn = long (*)();
    auto entry = reinterpret_cast<RegisterFn>(module.symbol(kRegisterEntry));
    if (!entry) {
        if (error)
            *error = std::string("no ") + kRegisterEntry + " in " + pathIn(folder);
        return false;
    }
    entry();
    module.keepLoaded();
    return true;
}

}  // namespace ControlModule
