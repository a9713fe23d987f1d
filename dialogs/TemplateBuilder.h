// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class CSkinButton;

// Places the controls of a dialog template on a widget: positions and sizes in dialog units,
// each control named by its decimal id so code and tests find it by number. Every dialog and
// panel of the program is built with it.
class TemplateBuilder {
public:
    // The id of a control that code never looks up (a static, a frame).
    static constexpr int kNoId = -1;

    explicit TemplateBuilder(QWidget* owner) : owner_(owner) {}

    // The font the templates are laid out for (an 8-point sans serif at 96 dpi).
    static QFont dialogFont();
    // Sizes the owner to a template of w x h dialog units and gives it the dialog font.
    void sizeOwner(int w, int h);

    QLabel* addStatic(const QString& text, int x, int y, int w, int h);
    QGroupBox* addGroupBox(int id, const QString& text, int x, int y, int w, int h);
    QCheckBox* addCheckBox(int id, const QString& text, int x, int y, int w, int h);
    QRadioButton* addRadioButton(int id, const QString& text, int x, int y, int w, int h);
    // A drop-down list; h is the extent of the open list, which sets how many rows it shows.
    QComboBox* addDropDownList(int id, int x, int y, int w, int h);
    QLineEdit* addEdit(int id, int x, int y, int w, int h, bool digitsOnly = false);
    CSkinButton* addSkinButton(int id, const QString& text, int style, int x, int y, int w, int h);
    QPushButton* addPushButton(int id, const QString& text, int x, int y, int w, int h);
    // A bar without a text of its own: a label beside it shows the percentage.
    QProgressBar* addProgressBar(int id, int x, int y, int w, int h);

    // The caption of boxes raised on behalf of the program: its name, else its file's base name.
    static QString applicationCaption();

    // The control with that id among the widget's own children (not those of its panels).
    template <typename T>
    static T* control(const QWidget* owner, int id)
    {
        return owner->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
    }

    template <typename T>
    T* place(T* widget, int id, int x, int y, int w, int h)
    {
        placeWidget(widget, id, x, y, w, h);
        return widget;
    }

private:
    void fitStatic(QLabel* label);
    void placeWidget(QWidget* widget, int id, int x, int y, int w, int h);

    QWidget* owner_;
};
