// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/AboutDialog.h"

#include <QLabel>
#include <QPushButton>

#include "mainwnd/MakerAddresses.h"
#include "platform/DialogFont.h"
#include "platform/DialogUnits.h"
#include "res/Resources.h"

namespace {

constexpr int kPointingHandCursor = 162;
constexpr int kAppIcon = 128;

QLabel* staticText(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), link(this)
{
    setWindowTitle(QStringLiteral("About Marvane"));
    setFont(DialogFont::Tahoma8());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(DialogUnits::toPixelsX(241), DialogUnits::toPixelsY(137));
    BuildControls();
    InitialiseLink();
}

void AboutDialog::BuildControls()
{
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(Resources::icon(kAppIcon)).scaled(32, 32, Qt::KeepAspectRatio,
                                                                          Qt::SmoothTransformation));
    icon->setGeometry(DialogUnits::toPixels(11, 14, 21, 20));
    QLabel* name = staticText(this, QStringLiteral("Marvane Version 1.0"), DialogUnits::toPixels(44, 12, 180, 10));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    staticText(this, QStringLiteral("Batch video converter: MP4, AVI, DVD, VCD, SVCD, MPEG and WMV output, "
                                    "still pictures and sound tracks from videos."),
               DialogUnits::toPixels(44, 26, 180, 24));
    staticText(this, QStringLiteral("Copyright (C) Kestrune Software"), DialogUnits::toPixels(44, 56, 180, 10));

    link.setObjectName(QString::number(kLinkId));
    link.setText(MakerAddresses::kWebPage);
    link.setGeometry(DialogUnits::toPixels(44, 70, 120, 10));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    ok->setGeometry(DialogUnits::toPixels(184, 116, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::InitialiseLink()
{
    link.SetTarget(MakerAddresses::kWebPage);
    link.SetLinkCursor(Resources::cursor(kPointingHandCursor));
}
