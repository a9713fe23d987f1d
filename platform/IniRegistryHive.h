// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/RegistryHive.h"

// A hive kept in an INI file: a key is a group (backslashes become slashes), the default value
// is stored under the name "@".
class IniRegistryHive : public RegistryHive {
public:
    explicit IniRegistryHive(QString path);

    bool hasKey(const std::string& key) const override;
    std::optional<std::string> value(const std::string& key, const std::string& name) const override;
    bool setValue(const std::string& key, const std::string& name, const std::string& value) override;

private:
    QString path_;
};
