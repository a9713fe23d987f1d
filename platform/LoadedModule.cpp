// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LoadedModule.h"

#include <dlfcn.h>

#include <utility>

LoadedModule::LoadedModule(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* message = dlerror();
        error_ = message ? message : "cannot load " + path;
    }
}

LoadedModule::~LoadedModule()
{
    unload();
}

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept
{
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

void* LoadedModule::symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

void LoadedModule::keepLoaded()
{
    handle_ = nullptr;
}

void LoadedModule::unload()
{
    if (handle_)
        dlclose(std::exchange(handle_, nullptr));
}
