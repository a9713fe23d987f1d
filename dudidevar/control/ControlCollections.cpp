// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/control/ControlCollections.h"

#include "dudidevar/plan/CompressorCatalog.h"
#include "dudidevar/widgets/CompressorSettingsDialog.h"
#include "dudidevar/plan/WmvProfileTable.h"

short CompressorCollection::GetCount()
{
    return short(kind_ == Kind::Video ? CompressorCatalog::video().size() : CompressorCatalog::audio().size());
}

short CompressorCollection::FindIndex(const std::string& name)
{
    for (short i = 0; i < GetCount(); ++i) {
        if (GetName(i) == name)
            return i;
    }
    return -1;
}

std::string CompressorCollection::GetName(short index)
{
    if (index < 0 || index >= GetCount())
        return {};
    return kind_ == Kind::Video ? CompressorCatalog::video()[std::size_t(index)].name
                                : CompressorCatalog::audio()[std::size_t(index)].name;
}

bool CompressorCollection::ShowPropertyPage(short index)
{
    if (kind_ == Kind::Video) {
        if (!CompressorCatalog::videoHasSettings(index))
            return false;
        CompressorSettingsDialog dialog(CompressorCatalog::video()[std::size_t(index)],
                                        CompressorCatalog::videoSettings(index));
        if (dialog.exec() == QDialog::Accepted)
            CompressorCatalog::setVideoSettings(index, dialog.settings());
        return true;
    }
    if (!CompressorCatalog::audioHasSettings(index))
        return false;
    CompressorSettingsDialog dialog(CompressorCatalog::audio()[std::size_t(index)],
                                    CompressorCatalog::audioSettings(index));
    if (dialog.exec() == QDialog::Accepted)
        CompressorCatalog::setAudioSettings(index, dialog.settings());
    return true;
}

short WmvProfileCollection::GetCount()
{
    return short(WmvProfileTable::profiles().size());
}

std::string WmvProfileCollection::GetProfileName(short index)
{
    if (index < 0 || index >= GetCount())
        return {};
    return WmvProfileTable::profiles()[std::size_t(index)].name;
}
