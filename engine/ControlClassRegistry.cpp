// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ControlClassRegistry.h"

ControlClassRegistry& ControlClassRegistry::instance()
{
    static ControlClassRegistry registry;
    return registry;
}

void ControlClassRegistry::registerClass(const std::string& classId, Factory factory)
{
    std::lock_guard lock(mutex_);
    factories_[classId] = std::move(factory);
}

void ControlClassRegistry::unregisterClass(const std::string& classId)
{
    std::lock_guard lock(mutex_);
    factories_.erase(classId);
}

bool ControlClassRegistry::isRegistered(const std::string& classId) const
{
    std::lock_guard lock(mutex_);
    return factories_.count(classId) != 0;
}

std::unique_ptr<IConversionControl> ControlClassRegistry::create(const std::string& classId,
                                                                QWidget* parent) const
{
    Factory factory;
    {
        std::lock_guard lock(mutex_);
        auto it = factories_.find(classId);
        if (it == factories_.end())
            return nullptr;
        factory = it->second;
    }
    return factory ? factory(parent) : nullptr;
}
