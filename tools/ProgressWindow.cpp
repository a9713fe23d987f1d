// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "dialogs/TemplateBuilder.h"
#include "tools/BarScale.h"

ProgressWindow::ProgressWindow(QWidget* parent, int width, int height)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Executing"));
    TemplateBuilder(this).sizeOwner(width, height);
}

QPushButton* ProgressWindow::addCancel(int id, int x, int y)
{
    QPushButton* cancel = TemplateBuilder(this).addPushButton(id, tr("Cancel"), x, y, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return cancel;
}

void ProgressWindow::setBar(QProgressBar* bar, const BarScale& scale, double seconds)
{
    bar->setRange(0, scale.maximum());
    bar->setValue(scale.position(seconds));
}

void ProgressWindow::showPath(QLabel* label, const QString& path)
{
    label->setText(label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->width()));
    label->setToolTip(path);
}
