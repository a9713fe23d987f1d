// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/SkinColors.h"

#include <algorithm>
#include <functional>

namespace {

int channelAllowance(int channel, int shade)
{
    if (shade > 0)
        return channel + shade > 255 ? 255 - channel : shade;
    return channel + shade < 0 ? -channel : shade;
}

QImage mapNonBlack(const QImage& icon, const std::function<QColor(const QColor&)>& map)
{
    if (icon.isNull())
        return {};
    QImage copy = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < copy.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            const QRgb pixel = line[x];
            if ((pixel & 0xFFFFFF) == 0)
                continue;
            const QColor mapped = map(QColor::fromRgb(pixel));
            line[x] = qRgba(mapped.red(), mapped.green(), mapped.blue(), qAlpha(pixel));
        }
    }
    return copy.convertToFormat(icon.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32);
}

}  // namespace

int SkinColors::BalancedOffset(const QColor& color, int shade)
{
    const int r = channelAllowance(color.red(), shade);
    const int g = channelAllowance(color.green(), shade);
    const int b = channelAllowance(color.blue(), shade);
    return shade > 0 ? std::min({r, g, b}) : std::max({r, g, b});
}

QColor SkinColors::OffsetColorValue(const QColor& color, int shade)
{
    const int offset = BalancedOffset(color, shade);
    return QColor(color.red() + offset, color.green() + offset, color.blue() + offset);
}

QColor SkinColors::DimColor(const QColor& color, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return color;
    const auto dim = [factor](int c) { return static_cast<int>(c - c * factor); };
    return QColor(dim(color.red()), dim(color.green()), dim(color.blue()));
}

int SkinColors::GreyLevel(const QColor& color)
{
    return static_cast<int>(0.299 * color.red() + 0.587 * color.green() + 0.114 * color.blue());
}

QImage SkinColors::MakeGrayscaleIcon(const QImage& icon)
{
    return mapNonBlack(icon, [](const QColor& c) {
        const int g = GreyLevel(c);
        return QColor(g, g, g);
    });
}

QImage SkinColors::MakeDarkerIcon(const QImage& icon)
{
    return mapNonBlack(icon, [](const QColor& c) { return DimColor(c, 0.25); });
}
