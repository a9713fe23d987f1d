// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/WmvProfilePanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>

#include "dialogs/TemplateBuilder.h"

namespace {

constexpr int kProfileDropWidth = 420;

}  // namespace

WmvProfilePanel::WmvProfilePanel(CDudidEvar& control, QWidget* parent) : SettingsPanel(parent), control_(control)
{
    setObjectName(QString::number(kTemplateId));
    hide();
    buildControls();
    open();
}

void WmvProfilePanel::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(189, 138);
    t.addGroupBox(-1, QStringLiteral("Settings"), 0, 0, 189, 137);
    t.addStatic(QStringLiteral("Profile List"), 8, 14, 64, 9);
    profiles_ = t.addDropDownList(1044, 7, 29, 167, 159);
    videoOnly_ = t.addCheckBox(1069, QStringLiteral("Video Only"), 7, 49, 54, 10);
    t.addStatic(QStringLiteral("Note: Please make sure that you had installed Windows Media Format 9 Runtime "
                               "in your system."),
                8, 69, 165, 20);
}

void WmvProfilePanel::open()
{
    choices_.emplace(WmvProfileChoices::profileNames(control_));
    for (int p = 0; p < choices_->count(); ++p)
        profiles_->addItem(QString::fromStdString(choices_->name(p)));
    profiles_->view()->setMinimumWidth(kProfileDropWidth);
    profiles_->setCurrentIndex(choices_->count() > 0 ? 0 : -1);
}

int WmvProfilePanel::chosenProfileIndex() const
{
    return choices_->controlIndex(profiles_->currentIndex());
}

bool WmvProfilePanel::videoOnly() const
{
    return videoOnly_->isChecked();
}

void WmvProfilePanel::showRecord(const TaskSettings& settings)
{
    profiles_->setCurrentIndex(choices_->positionOf(settings.wmvProfile));
    videoOnly_->setChecked(settings.videoOnly != 0);
}

void WmvProfilePanel::writeRecord(TaskSettings& settings, OutputKind) const
{
    settings.format = OutputFormat::Wmv;
    settings.wmvProfile = chosenProfileIndex();
    settings.videoOnly = videoOnly() ? 1 : 0;
}
