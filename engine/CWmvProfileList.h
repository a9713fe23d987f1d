// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "engine/IConversionControl.h"

// The WMV profile collection fetched from the control for one use.
class CWmvProfileList {
public:
    explicit CWmvProfileList(std::unique_ptr<IWmvProfileCollection> collection);

    short GetCount();
    std::string GetProfileName(short index);

private:
    std::unique_ptr<IWmvProfileCollection> collection_;
};
