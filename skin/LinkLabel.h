// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

// A text that acts as a web link: underlined, blue, purple once visited, red under the
// pointer, with its target as tooltip; a click opens the target (or, without one, its own
// text) through the platform's shell and beeps when that fails.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    static constexpr QColor linkColor{0, 0, 255};
    static constexpr QColor visitedColor{128, 0, 128};
    static constexpr QColor hoverColor{255, 0, 0};

    explicit LinkLabel(QWidget* parent = nullptr);
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetTarget(const QString& target);
    void SetLinkCursor(const QCursor& cursor);

    QString Target() const { return target_; }
    bool IsVisited() const { return visited_; }
    bool IsHovering() const { return hovering_; }
    // The text colour of the current state.
    QColor TextColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool showsText() const;
    void follow();
    void setHovering(bool hovering);

    bool visited_ = false;
    bool hovering_ = false;
    QString target_;
};
