#include "tools/DialogTemplate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

#include "platform/DialogUnits.h"

namespace DialogTemplate {

void setUp(QWidget* dialog, const QString& title, int width, int height)
{
    // The templates are measured for Tahoma; where it is missing a condensed face keeps the
    // labels inside their rectangles.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow")});
    font.setPixelSize(11);
    dialog->setFont(font);
    dialog->setWindowTitle(title);
    dialog->setFixedSize(DialogUnits::toPixelsX(width), DialogUnits::toPixelsY(height));
}

void placeWidget(QWidget* control, int id, int x, int y, int width, int height)
{
    control->setGeometry(DialogUnits::toPixels(x, y, width, height));
    if (id != 0)
        control->setObjectName(QString::number(id));
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, int width, int height)
{
    return place(new QLabel(text, parent), 0, x, y, width, height);
}

QString applicationCaption()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).baseName() : name;
}

}  // namespace DialogTemplate
