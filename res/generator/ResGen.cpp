// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the program and writes them, with the resource file that compiles
// them in, into the folder given: bitmaps/<n>.png, icons/<n>.png, cursors/<n>.png, the
// application icon at every desktop size as appicon/<pixels>.png, and pictures.qrc.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <cstdio>

#include "ArtStyle.h"
#include "IconArt.h"
#include "SkinArt.h"
#include "StripArt.h"

namespace {

constexpr int skinNumber = 129;
constexpr int emblemNumber = 182;
constexpr int applicationIconNumber = 128;
constexpr int pointingHandNumber = 162;
constexpr int dialogIconNumbers[] = {140, 141, 171, 172, 173, 174, 176, 177, 179, 180, 181};

class Writer {
public:
    explicit Writer(const QString& root) : root_(root) {}

    bool write(const QString& kind, int number, const QImage& image)
    {
        const QString relative = QStringLiteral("%1/%2.png").arg(kind).arg(number);
        if (image.isNull() || !QDir(root_).mkpath(kind) || !image.save(root_.filePath(relative), "PNG")) {
            std::fprintf(stderr, "marvane-resgen: cannot write %s\n", qPrintable(root_.filePath(relative)));
            return false;
        }
        written_ << relative;
        return true;
    }

    bool writeResourceFile() const
    {
        QFile file(root_.filePath(QStringLiteral("pictures.qrc")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "marvane-resgen: cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
        QTextStream out(&file);
        out << "<!-- Written by marvane-resgen. -->\n<RCC>\n  <qresource prefix=\"/res\">\n";
        for (const QString& path : written_)
            out << "    <file>" << path << "</file>\n";
        out << "  </qresource>\n</RCC>\n";
        return out.status() == QTextStream::Ok && file.flush();
    }

private:
    QDir root_;
    QStringList written_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: marvane-resgen <res folder>\n");
        return 2;
    }
    Writer writer(QString::fromLocal8Bit(argv[1]));
    const QImage skin = SkinArt::draw();
    bool ok = writer.write(QStringLiteral("bitmaps"), skinNumber, skin);
    for (const StripArt::Strip& strip : StripArt::strips())
        ok = writer.write(QStringLiteral("bitmaps"), strip.number, StripArt::draw(strip, skin)) && ok;
    // The skin already shows the emblem at the emblem's place, on the skin's own background.
    ok = writer.write(QStringLiteral("bitmaps"), emblemNumber, skin.copy(ArtStyle::emblem)) && ok;
    ok = writer.write(QStringLiteral("icons"), applicationIconNumber, IconArt::applicationIcon()) && ok;
    for (int size : IconArt::kDesktopIconSizes)
        ok = writer.write(QStringLiteral("appicon"), size, IconArt::applicationIcon(size)) && ok;
    for (int number : dialogIconNumbers)
        ok = writer.write(QStringLiteral("icons"), number, IconArt::dialogIcon(number)) && ok;
    ok = writer.write(QStringLiteral("cursors"), pointingHandNumber, IconArt::pointingHand()) && ok;
    return ok && writer.writeResourceFile() ? 0 : 1;
}
