// SPDX-License-Identifier: GPL-3.0-or-later
#include "StripArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "ArtStyle.h"
#include "Glyphs.h"

using namespace ArtStyle;

namespace {

QColor accentOf(StripArt::Mark mark)
{
    switch (mark) {
    case StripArt::Mark::Add: return green;
    case StripArt::Mark::Delete:
    case StripArt::Mark::Stop:
    case StripArt::Mark::Exit: return red;
    case StripArt::Mark::Edit:
    case StripArt::Mark::Execute:
    case StripArt::Mark::Minimize: return amber;
    case StripArt::Mark::Tools: return steel;
    case StripArt::Mark::Preview:
    case StripArt::Mark::Help: return blue;
    case StripArt::Mark::Web: return sage;
    }
    return sage;
}

void drawMark(QPainter& p, StripArt::Mark mark, const QRectF& box, const QColor& color, const QColor& hole)
{
    switch (mark) {
    case StripArt::Mark::Add: Glyphs::plus(p, box, color); break;
    case StripArt::Mark::Delete: Glyphs::trash(p, box, color); break;
    case StripArt::Mark::Edit: Glyphs::pencil(p, box, color); break;
    case StripArt::Mark::Tools: Glyphs::wrench(p, box, color); break;
    case StripArt::Mark::Preview: Glyphs::screen(p, box, color, hole); break;
    case StripArt::Mark::Stop: Glyphs::stop(p, box, color); break;
    case StripArt::Mark::Execute: Glyphs::play(p, box, color); break;
    case StripArt::Mark::Exit: Glyphs::cross(p, box, color); break;
    case StripArt::Mark::Help: Glyphs::question(p, box, color); break;
    case StripArt::Mark::Minimize: Glyphs::underscore(p, box, color); break;
    case StripArt::Mark::Web: Glyphs::globe(p, box, color); break;
    }
}

// Pictures must not use the three greys that loading maps to the desktop's 3-D colours.
void avoidMappedGreys(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] & 0xFFFFFF;
            if (c == 0x808080 || c == 0xC0C0C0 || c == 0xDFDFDF)
                line[x] = qRgb(qRed(c), qGreen(c), qBlue(c) + 1);
        }
    }
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

}  // namespace

const std::vector<StripArt::Strip>& StripArt::strips()
{
    static const std::vector<Strip> all = {
        {149, {188, 45}, 4, {14, 35}, Look::Tile, Mark::Add, "Add"},
        {150, {188, 45}, 4, {14, 85}, Look::Tile, Mark::Delete, "Delete"},
        {151, {188, 45}, 4, {14, 135}, Look::Tile, Mark::Edit, "Edit"},
        {161, {188, 45}, 4, {14, 185}, Look::Tile, Mark::Tools, "Tools"},
        {153, {188, 45}, 4, {458, 242}, Look::Tile, Mark::Preview, "Preview"},
        {165, {188, 45}, 4, {458, 242}, Look::Tile, Mark::Stop, "Stop"},
        {154, {260, 66}, 4, {448, 330}, Look::Round, Mark::Execute, "Execute"},
        {167, {260, 66}, 4, {448, 330}, Look::Round, Mark::Stop, "Stop"},
        {152, {131, 19}, 2, {8, 390}, Look::Link, Mark::Web, "Website"},
        {155, {53, 19}, 4, {500, 10}, Look::WindowButton, Mark::Exit, ""},
        {156, {53, 19}, 4, {460, 10}, Look::WindowButton, Mark::Help, ""},
        {159, {53, 19}, 4, {480, 10}, Look::WindowButton, Mark::Minimize, ""},
    };
    return all;
}

QImage StripArt::draw(const Strip& strip, const QImage& skin)
{
    QImage image(strip.size, QImage::Format_RGB32);
    const QSize frame(strip.size.width() / strip.frames, strip.size.height());
    const QImage background = skin.copy(QRect(strip.place, frame));
    QPainter p(&image);
    for (int x = 0; x < strip.size.width(); x += frame.width())
        p.drawImage(x, 0, background, 0, 0, frame.width(), frame.height());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const State twoFrame[] = {Normal, Hovered};
    const State fourFrame[] = {Normal, Pressed, Hovered, Disabled};
    for (int i = 0; i < strip.frames; ++i) {
        p.save();
        p.translate(i * frame.width(), 0);
        p.setClipRect(QRect(QPoint(0, 0), frame));
        drawFrame(p, strip, frame, strip.frames == 2 ? twoFrame[i] : fourFrame[i]);
        p.restore();
    }
    p.end();
    avoidMappedGreys(image);
    return image;
}

void StripArt::drawFrame(QPainter& p, const Strip& strip, const QSize& frame, State state)
{
    const QColor accent = accentOf(strip.mark);
    const bool pressed = state == Pressed;
    const bool hovered = state == Hovered;
    const bool disabled = state == Disabled;
    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);

    switch (strip.look) {
    case Look::Tile: {
        // The visible part is one column narrower than the frame; centre on what is seen.
        const QRectF tile(2.5, 1.5, frame.width() - 6, frame.height() - 4);
        QLinearGradient face(tile.topLeft(), tile.bottomLeft());
        if (pressed) {
            face.setColorAt(0, QColor(24, 32, 29));
            face.setColorAt(1, QColor(40, 51, 46));
        } else if (hovered) {
            face.setColorAt(0, QColor(84, 106, 96));
            face.setColorAt(1, QColor(56, 72, 65));
        } else if (disabled) {
            face.setColorAt(0, QColor(42, 52, 48));
            face.setColorAt(1, QColor(38, 47, 43));
        } else {
            face.setColorAt(0, QColor(64, 80, 73));
            face.setColorAt(1, QColor(44, 56, 51));
        }
        if (hovered) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(accent.red(), accent.green(), accent.blue(), 60));
            p.drawRoundedRect(tile.adjusted(-2, -1, 2, 2), 10, 10);
        }
        p.setBrush(face);
        p.setPen(QPen(pressed || hovered ? accent : disabled ? QColor(58, 70, 65) : QColor(86, 106, 97), 1));
        p.drawRoundedRect(tile, 8, 8);
        if (!pressed && !disabled) {
            p.setPen(QPen(QColor(255, 255, 255, hovered ? 50 : 30), 1));
            p.drawLine(tile.topLeft() + QPointF(7, 1), tile.topRight() + QPointF(-7, 1));
        }
        const QColor ink = disabled ? disabledInk : hovered ? accent.lighter(125) : pressed ? accent.darker(110) : accent;
        const QRectF glyph(tile.center().x() - 10, tile.top() + 4, 20, 20);
        if (!disabled)
            drawMark(p, strip.mark, glyph.translated(shift + QPointF(0, 1)), QColor(0, 0, 0, 90), Qt::transparent);
        drawMark(p, strip.mark, glyph.translated(shift), ink, disabled ? QColor(36, 44, 41) : well);
        p.setFont(labelFont(9));
        p.setPen(disabled ? disabledInk : hovered ? Qt::white : pressed ? sage : text);
        p.drawText(QRectF(tile.left(), tile.bottom() - 15, tile.width(), 13).translated(shift), Qt::AlignCenter,
                   QString::fromLatin1(strip.label));
        break;
    }
    case Look::Round: {
        const QPointF centre(32.5, 32.0);
        const double radius = 27;
        if (hovered) {
            QRadialGradient halo(centre, radius + 5);
            halo.setColorAt(0.8, QColor(accent.red(), accent.green(), accent.blue(), 140));
            halo.setColorAt(1.0, QColor(accent.red(), accent.green(), accent.blue(), 0));
            p.setPen(Qt::NoPen);
            p.setBrush(halo);
            p.drawEllipse(centre, radius + 5, radius + 5);
        }
        const QPointF c = centre + shift;
        QColor top = disabled ? QColor(96, 104, 100) : accent.lighter(hovered ? 130 : 115);
        QColor bottom = disabled ? QColor(70, 78, 74) : accent.darker(pressed ? 150 : 125);
        if (pressed)
            std::swap(top, bottom);
        QLinearGradient face(c.x(), c.y() - radius, c.x(), c.y() + radius);
        face.setColorAt(0, top);
        face.setColorAt(1, bottom);
        p.setPen(QPen(outline, 2));
        p.setBrush(face);
        p.drawEllipse(c, radius, radius);
        if (!disabled) {
            QLinearGradient gloss(c.x(), c.y() - radius, c.x(), c.y());
            gloss.setColorAt(0, QColor(255, 255, 255, pressed ? 30 : 90));
            gloss.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(gloss);
            p.drawEllipse(QRectF(c.x() - radius + 5, c.y() - radius + 2, 2 * radius - 10, radius));
        }
        const QColor ink = disabled ? QColor(52, 58, 55) : strip.mark == Mark::Stop ? Qt::white : QColor(58, 36, 8);
        drawMark(p, strip.mark, QRectF(c.x() - 11, c.y() - 18, 22, 22), ink, Qt::transparent);
        p.setFont(labelFont(9));
        p.setPen(ink);
        p.drawText(QRectF(c.x() - radius, c.y() + 5, 2 * radius, 12), Qt::AlignCenter, QString::fromLatin1(strip.label));
        break;
    }
    case Look::WindowButton: {
        const QRectF disc(0.5, 1.5, 12, 12);
        QColor fill = disabled ? QColor(60, 70, 66) : hovered ? accent.lighter(115) : pressed ? accent.darker(140)
                                                                                            : mix(bodyBottom, accent, 0.35);
        p.setPen(QPen(disabled ? QColor(70, 80, 76) : accent.darker(hovered ? 100 : 120), 1));
        p.setBrush(fill);
        p.drawEllipse(disc);
        const QColor ink = disabled ? QColor(96, 104, 100) : hovered || pressed ? QColor(30, 24, 20) : accent.lighter(120);
        drawMark(p, strip.mark, disc.adjusted(1.5, 1.5, -1.5, -1.5), ink, Qt::transparent);
        break;
    }
    case Look::Link: {
        const bool lit = state != Normal;
        const QColor ink = lit ? amber : sage;
        drawMark(p, strip.mark, QRectF(3, 2.5, 14, 14), ink, Qt::transparent);
        QFont font = labelFont(11, lit);
        font.setUnderline(lit);
        p.setFont(font);
        p.setPen(lit ? Qt::white : sage);
        p.drawText(QRectF(20, 0, frame.width() - 20, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(strip.label));
        break;
    }
    }
}
