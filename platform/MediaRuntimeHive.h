// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/RegistryHive.h"

// The machine hive: values of an underlying hive, with the media runtime's version answered
// from a probe of the media libraries rather than from a stored value.
class MediaRuntimeHive : public RegistryHive {
public:
    static constexpr const char* kKey = "Software\\Microsoft\\Directx";
    static constexpr const char* kVersion = "4.09.00.0904";

    explicit MediaRuntimeHive(std::unique_ptr<RegistryHive> stored, bool runtimeComplete);

    bool hasKey(const std::string& key) const override;
    std::optional<std::string> value(const std::string& key, const std::string& name) const override;

private:
    static bool isRuntimeKey(const std::string& key);

    std::unique_ptr<RegistryHive> stored_;
    bool runtimeComplete_;
};
