// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "engine/IConversionControl.h"

// The process's class registry: a control module registers its factory under its class id
// (from its DllRegisterServer), and windows create controls from it by that id.
class ControlClassRegistry {
public:
    using Factory = std::function<std::unique_ptr<IConversionControl>(QWidget* parent)>;

    static ControlClassRegistry& instance();

    void registerClass(const std::string& classId, Factory factory);
    void unregisterClass(const std::string& classId);
    bool isRegistered(const std::string& classId) const;
    // Null when nothing is registered under the id or the factory fails.
    std::unique_ptr<IConversionControl> create(const std::string& classId, QWidget* parent) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, Factory> factories_;
};

// The class id of the conversion control.
inline constexpr const char* kDudidEvarClassId = "{20042E47-E666-48BE-90F6-AAC6EBEA86A2}";
