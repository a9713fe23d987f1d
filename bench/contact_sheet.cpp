// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the skin with its buttons in place, every strip in every state through the real
// hover button, the dialog icons on skinned buttons and the cursor into one picture:
// marvane-contact-sheet <file.png>
#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <cstdio>

#include "res/Resources.h"
#include "skin/CHoverButton.h"
#include "skin/CSkinButton.h"

namespace {

struct Placed {
    int strip;
    int frames;
    QRect place;
};

// The main window's hover buttons: strip, frames and final place.
const Placed windowButtons[] = {
    {149, 4, {14, 35, 46, 45}},   {150, 4, {14, 85, 46, 45}},  {151, 4, {14, 135, 46, 45}},
    {161, 4, {14, 185, 46, 45}},  {152, 2, {8, 390, 65, 18}},  {156, 4, {460, 10, 13, 16}},
    {159, 4, {480, 10, 13, 16}},  {155, 4, {500, 10, 13, 16}}, {153, 4, {458, 242, 46, 45}},
    {154, 4, {448, 330, 65, 65}},
};
const Placed runningStrips[] = {{165, 4, {458, 242, 46, 45}}, {167, 4, {448, 330, 65, 65}}};

enum class State { Normal, Pressed, Hovered, Disabled };

QPixmap grabHoverButton(int strip, int frames, State state, QSize size = {})
{
    CHoverButton button;
    button.LoadStateBitmap(strip, frames, false);
    if (size.isValid())
        button.resize(size);
    if (state == State::Pressed)
        button.setDown(true);
    if (state == State::Disabled)
        button.setEnabled(false);
    if (state == State::Hovered) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(&button, &enter);
    }
    return button.grab();
}

QPixmap grabSkinButton(const QString& caption, int icon, int second, int style, State state, bool checked)
{
    CSkinButton button(caption, nullptr, style);
    button.resize(caption.isEmpty() ? 24 : 110, caption.isEmpty() ? 23 : 29);
    button.SetIcons(icon, second);
    if (button.IsCheckMode()) {
        button.OffsetColor(CSkinButton::BkIn, 30, false);
        button.SetCheck(checked ? 1 : 0, false);
    }
    if (state == State::Pressed)
        button.setDown(true);
    if (state == State::Disabled)
        button.setEnabled(false);
    if (state == State::Hovered) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(&button, &enter);
    }
    return button.grab();
}

void label(QPainter& p, int x, int y, const QString& text)
{
    p.setPen(QColor(40, 40, 40));
    p.drawText(x, y, text);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("contact_sheet.png");

    QImage sheet(1640, 1260, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 232));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);

    // The window at rest, and while tasks run (its strips swapped), on a checkered desktop
    // so the shape's edge shows.
    for (int copy = 0; copy < 2; ++copy) {
        const QPoint origin(10 + copy * 550, 24);
        for (int y = 0; y < 455; y += 10)
            for (int x = 0; x < 550; x += 10)
                p.fillRect(origin.x() - 10 + x, origin.y() - 10 + y, 10, 10,
                           ((x + y) / 10) % 2 ? QColor(120, 140, 170) : QColor(150, 170, 200));
        QImage skin = Resources::bitmap(129);
        QImage cut(skin.size(), QImage::Format_ARGB32_Premultiplied);
        cut.fill(Qt::transparent);
        for (int y = 0; y < skin.height(); ++y)
            for (int x = 0; x < skin.width(); ++x)
                if ((skin.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    cut.setPixel(x, y, skin.pixel(x, y));
        p.drawImage(origin, cut);
        for (const Placed& b : windowButtons) {
            int strip = b.strip;
            for (const Placed& r : runningStrips)
                if (copy == 1 && r.place == b.place)
                    strip = r.strip;
            p.drawPixmap(origin + b.place.topLeft(), grabHoverButton(strip, b.frames, State::Normal, b.place.size()));
        }
        label(p, origin.x(), 16, copy == 0 ? QStringLiteral("window at rest") : QStringLiteral("window while running"));
    }

    // Every strip in every state, scaled up twice.
    const int strips[][2] = {{149, 4}, {150, 4}, {151, 4}, {161, 4}, {153, 4}, {165, 4},
                             {154, 4}, {167, 4}, {152, 2}, {155, 4}, {156, 4}, {159, 4}};
    const State states[] = {State::Normal, State::Pressed, State::Hovered, State::Disabled};
    int x = 10, y = 490;
    for (const auto& s : strips) {
        QPixmap row(4 * 140, 140);
        row.fill(QColor(236, 236, 232));
        int width = 0, height = 0;
        for (int i = 0; i < 4; ++i) {
            const QPixmap frame = grabHoverButton(s[0], s[1], states[i]);
            width = frame.width() * 2;
            height = frame.height() * 2;
            QPainter rp(&row);
            rp.drawPixmap(i * (width + 6), 0, frame.scaled(frame.size() * 2));
        }
        const int rowWidth = std::max(4 * (width + 6), 330);
        if (x + rowWidth > sheet.width() - 10) {
            x = 10;
            y += 160;
        }
        label(p, x, y - 4, QStringLiteral("%1: normal, pressed, hovered, disabled").arg(s[0]));
        p.drawPixmap(x, y, row, 0, 0, 4 * (width + 6), height);
        x += rowWidth + 24;
    }

    // Dialog buttons: icons on skinned buttons in their four states, and the kind toggles.
    y += 110;
    x = 10;
    label(p, x, y - 6, QStringLiteral("skinned buttons: normal, pressed, hovered, disabled; toggles checked and not"));
    const struct { const char* caption; int icon; } dialogButtons[] = {
        {"Extract Now", 176}, {"Cancel", 177}, {"Browse", 179}, {"Preview", 180}, {"", 171}, {"", 172},
        {"", 173}, {"", 174}, {"", 181}};
    for (const auto& d : dialogButtons) {
        for (State st : states) {
            const QPixmap b = grabSkinButton(QString::fromLatin1(d.caption), d.icon, 0, 0, st, false);
            p.drawPixmap(x, y, b);
            x += b.width() + 4;
        }
        x += 12;
        if (x > sheet.width() - 480) {
            x = 10;
            y += 34;
        }
    }
    for (bool checked : {true, false})
        for (State st : {State::Normal, State::Hovered}) {
            const QPixmap b = grabSkinButton(QStringLiteral("DVD (NTSC)"), 141, 140, CSkinButton::CheckBoxStyleBit, st, checked);
            p.drawPixmap(x, y, b);
            x += b.width() + 4;
        }
    const QImage hand = Resources::cursorImage(162);
    p.drawImage(x + 10, y - 4, hand.scaled(hand.size() * 1));
    p.drawImage(sheet.width() - 80, y - 80, Resources::icon(128));
    p.end();
    if (!sheet.save(out)) {
        std::fprintf(stderr, "contact-sheet: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
