// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RequirementsDialog.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "mainwnd/MakerAddresses.h"
#include "platform/DialogFont.h"
#include "platform/DialogUnits.h"
#include "platform/Shell.h"

namespace {

QPushButton* button(QWidget* parent, int id, const QString& text, const QRect& place)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(QString::number(id));
    made->setGeometry(place);
    made->setAutoDefault(false);
    return made;
}

void staticText(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A font wider than the template's may need another line: the text grows downwards
    // rather than being cut.
    label->setGeometry(place.adjusted(0, 0, 0, std::max(0, label->heightForWidth(place.width()) - place.height())));
}

}  // namespace

RequirementsDialog::RequirementsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Marvane"));
    setFont(DialogFont::Tahoma8());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(DialogUnits::toPixelsX(224), DialogUnits::toPixelsY(118));

    QPushButton* cancel = button(this, 1, QStringLiteral("Cancel"), DialogUnits::toPixels(167, 97, 50, 14));
    cancel->setDefault(true);
    QPushButton* moreInfo = button(this, kMoreInfoId, QStringLiteral("More info..."), DialogUnits::toPixels(108, 97, 50, 14));
    staticText(this,
               QStringLiteral("Marvane need Microsoft Windows Media Format 9 Runtime and Directx 8.1(or higher) to run properly."),
               DialogUnits::toPixels(7, 9, 203, 19));
    staticText(this, QStringLiteral("Please make sure that you have installed them in your system."),
               DialogUnits::toPixels(7, 32, 204, 13));

    connect(cancel, &QPushButton::clicked, this, &QDialog::accept);
    connect(moreInfo, &QPushButton::clicked, this, &RequirementsDialog::OpenRequirementsPage);
}

void RequirementsDialog::OpenRequirementsPage()
{
    Shell::get().open(MakerAddresses::kRequirementsPage);
}
