// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MediaRuntimeHive.h"

#include <QString>

MediaRuntimeHive::MediaRuntimeHive(std::unique_ptr<RegistryHive> stored, bool runtimeComplete)
    : stored_(std::move(stored)), runtimeComplete_(runtimeComplete)
{
}

bool MediaRuntimeHive::isRuntimeKey(const std::string& key)
{
    return QString::fromStdString(key).compare(kKey, Qt::CaseInsensitive) == 0;
}

bool MediaRuntimeHive::hasKey(const std::string& key) const
{
    if (isRuntimeKey(key) && runtimeComplete_)
        return true;
    return stored_ && stored_->hasKey(key);
}

std::optional<std::string> MediaRuntimeHive::value(const std::string& key, const std::string& name) const
{
    if (isRuntimeKey(key) && QString::fromStdString(name).compare("Version", Qt::CaseInsensitive) == 0)
        return runtimeComplete_ ? std::optional<std::string>(kVersion) : std::nullopt;
    return stored_ ? stored_->value(key, name) : std::nullopt;
}
