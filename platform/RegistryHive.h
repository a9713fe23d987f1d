// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// One hive of registry values. Keys are written with backslashes ("Software\Marvane\InstallPath");
// the empty value name is the key's default value.
class RegistryHive {
public:
    virtual ~RegistryHive() = default;
    virtual bool hasKey(const std::string& key) const = 0;
    virtual std::optional<std::string> value(const std::string& key, const std::string& name) const = 0;
    // Writes a value; false when the hive cannot be written.
    virtual bool setValue(const std::string& /*key*/, const std::string& /*name*/, const std::string& /*value*/)
    {
        return false;
    }
};
