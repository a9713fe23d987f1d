// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/RegistryHive.h"

// The two hives the system reads: the current user's (an INI file in the user's configuration
// folder) and the machine's (one in the system's, with the media runtime probed).
class Registry {
public:
    enum class Root { CurrentUser, LocalMachine };

    static Registry& instance();

    std::optional<std::string> value(Root root, const std::string& key, const std::string& name) const;
    bool hasKey(Root root, const std::string& key) const;
    // Writes a value into a hive; false when it cannot be written.
    bool setValue(Root root, const std::string& key, const std::string& name, const std::string& value);
    // Replaces both hives (tests); null hives hold nothing.
    void install(std::unique_ptr<RegistryHive> currentUser, std::unique_ptr<RegistryHive> machine);

    // The install directory: the current user's Software\Marvane\InstallPath, or, when it is
    // missing, the folder that holds the executable (what an installer would have written).
    std::string installPath() const;

private:
    Registry();
    const RegistryHive* hive(Root root) const;

    std::unique_ptr<RegistryHive> currentUser_;
    std::unique_ptr<RegistryHive> machine_;
};
