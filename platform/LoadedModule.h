// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A shared module loaded with dlopen, unloaded when the owner goes unless it is kept loaded.
class LoadedModule {
public:
    LoadedModule() = default;
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(LoadedModule&& other) noexcept;
    LoadedModule& operator=(LoadedModule&& other) noexcept;
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;
    // The module stays loaded for the rest of the process.
    void keepLoaded();

private:
    void unload();

    void* handle_ = nullptr;
    std::string error_;
};
