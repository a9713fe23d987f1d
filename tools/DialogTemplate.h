#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// Building the tools' dialogs from their templates: controls at dialog-unit rectangles, named
// by their decimal ids.
namespace DialogTemplate {

// Sizes the dialog's client area and gives it the templates' font.
void setUp(QWidget* dialog, const QString& title, int width, int height);

// Moves the control to its rectangle and names it by its id (0: no id).
template <class Control>
Control* place(Control* control, int id, int x, int y, int width, int height);

void placeWidget(QWidget* control, int id, int x, int y, int width, int height);

// A static label without an id.
QLabel* label(QWidget* parent, const QString& text, int x, int y, int width, int height);

// The caption of boxes raised on behalf of the application: the program's own name.
QString applicationCaption();

template <class Control>
Control* place(Control* control, int id, int x, int y, int width, int height)
{
    placeWidget(control, id, x, y, width, height);
    return control;
}

}  // namespace DialogTemplate
