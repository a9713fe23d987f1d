// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "engine/IConversionControl.h"

// A compressor collection fetched from the control for one use; empty when the control gave none.
class CCompressorList {
public:
    explicit CCompressorList(std::unique_ptr<ICompressorCollection> collection);

    short GetCount();
    short FindIndex(const std::string& name);
    std::string GetName(short index);
    bool ShowPropertyPage(short index);

private:
    std::unique_ptr<ICompressorCollection> collection_;
};
