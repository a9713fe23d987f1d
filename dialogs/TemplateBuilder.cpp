// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TemplateBuilder.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "platform/DialogUnits.h"
#include "skin/CSkinButton.h"

namespace {

// The closed height of a drop-down list of the template font.
constexpr int kDropDownHeight = 21;
constexpr int kDropDownRowHeight = 8;  // dialog units per row of the open list

}  // namespace

QFont TemplateBuilder::dialogFont()
{
    // Narrow faces first where Tahoma itself is missing: the templates leave room for its width.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void TemplateBuilder::sizeOwner(int w, int h)
{
    owner_->setFont(dialogFont());
    owner_->setFixedSize(DialogUnits::toPixelsX(w), DialogUnits::toPixelsY(h));
}

void TemplateBuilder::placeWidget(QWidget* widget, int id, int x, int y, int w, int h)
{
    if (id != kNoId)
        widget->setObjectName(QString::number(id));
    widget->setGeometry(DialogUnits::toPixels(x, y, w, h));
}

QLabel* TemplateBuilder::addStatic(const QString& text, int x, int y, int w, int h)
{
    auto* label = place(new QLabel(text, owner_), -1, x, y, w, h);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitStatic(label);
    return label;
}

// A face a little wider than the template's own must not cut a text off: a one-line static
// grows to the right, one of several lines wraps and grows downwards.
void TemplateBuilder::fitStatic(QLabel* label)
{
    const QFontMetrics metrics(owner_->font());
    const int textWidth = metrics.horizontalAdvance(label->text()) + 1;
    if (textWidth <= label->width())
        return;
    if (label->height() < 2 * metrics.lineSpacing()) {
        label->resize(textWidth, label->height());
        return;
    }
    label->setWordWrap(true);
    label->resize(label->width(), std::max(label->height(), label->heightForWidth(label->width())));
}

QGroupBox* TemplateBuilder::addGroupBox(int id, const QString& text, int x, int y, int w, int h)
{
    auto* box = place(new QGroupBox(text, owner_), id, x, y, w, h);
    // The templates put the frame line through the middle of the title, near the box's top.
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px; padding: 0 2px; }"));
    return box;
}

QCheckBox* TemplateBuilder::addCheckBox(int id, const QString& text, int x, int y, int w, int h)
{
    return place(new QCheckBox(text, owner_), id, x, y, w, h);
}

QRadioButton* TemplateBuilder::addRadioButton(int id, const QString& text, int x, int y, int w, int h)
{
    return place(new QRadioButton(text, owner_), id, x, y, w, h);
}

QComboBox* TemplateBuilder::addDropDownList(int id, int x, int y, int w, int h)
{
    auto* list = new QComboBox(owner_);
    list->setObjectName(QString::number(id));
    const QRect r = DialogUnits::toPixels(x, y, w, h);
    list->setGeometry(r.x(), r.y(), r.width(), kDropDownHeight);
    list->setMaxVisibleItems(std::max(1, h / kDropDownRowHeight - 1));
    return list;
}

QLineEdit* TemplateBuilder::addEdit(int id, int x, int y, int w, int h, bool digitsOnly)
{
    auto* edit = place(new QLineEdit(owner_), id, x, y, w, h);
    if (digitsOnly)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

CSkinButton* TemplateBuilder::addSkinButton(int id, const QString& text, int style, int x, int y, int w, int h)
{
    return place(new CSkinButton(text, owner_, style), id, x, y, w, h);
}

QPushButton* TemplateBuilder::addPushButton(int id, const QString& text, int x, int y, int w, int h)
{
    return place(new QPushButton(text, owner_), id, x, y, w, h);
}

QProgressBar* TemplateBuilder::addProgressBar(int id, int x, int y, int w, int h)
{
    auto* bar = place(new QProgressBar(owner_), id, x, y, w, h);
    bar->setTextVisible(false);
    return bar;
}

QString TemplateBuilder::applicationCaption()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).baseName() : name;
}
