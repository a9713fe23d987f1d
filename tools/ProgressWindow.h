// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class BarScale;
class QLabel;
class QProgressBar;
class QPushButton;

// What the tools' run windows share: the "Executing" title without a close box, the template's
// size and font, a Cancel button that rejects, bars scaled to seconds and paths shortened in
// the middle so the file name stays in view.
class ProgressWindow : public QDialog {
    Q_OBJECT
protected:
    // Width and height in dialog units.
    ProgressWindow(QWidget* parent, int width, int height);

    QPushButton* addCancel(int id, int x, int y);
    static void setBar(QProgressBar* bar, const BarScale& scale, double seconds);
    static void showPath(QLabel* label, const QString& path);
};
