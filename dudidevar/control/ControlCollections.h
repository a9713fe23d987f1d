// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/IConversionControl.h"

// The control's compressor collections (video or audio) over the compressor catalog.
class CompressorCollection : public ICompressorCollection {
public:
    enum class Kind { Video, Audio };
    explicit CompressorCollection(Kind kind) : kind_(kind) {}

    short GetCount() override;
    short FindIndex(const std::string& name) override;
    std::string GetName(short index) override;
    bool ShowPropertyPage(short index) override;

private:
    Kind kind_;
};

// The control's WMV profile collection over the profile table.
class WmvProfileCollection : public IWmvProfileCollection {
public:
    short GetCount() override;
    std::string GetProfileName(short index) override;
};
