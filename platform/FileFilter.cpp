// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileFilter.h"

#include <QStringList>

namespace FileFilter {

const char* const kSourceVideoFilter =
    "All Support Files (*.mpg,*.mpeg,*.avi,*.asf.*.wmv)|*.mpg;*.mpeg;*.avi;*.asf;*.wmv;*.mp4;*.m4v;*.mkv;*.mov;"
    "*.webm;*.ts;*.m2ts;*.mts;*.vob;*.flv;*.3gp;*.dv;*.ogv|"
    "mpeg (*.mpg,*.mpeg) | *.mpg;*.mpeg|avi (*.avi) | *.avi|wmv (*.wmv)| *.wmv|asf (*.asf) | *.asf|"
    "All files (*)|*||";

namespace {

// Qt reads the patterns from the last parentheses of an entry, so the description's own
// parenthesised list is dropped and the real pattern list put there.
QString describedPatterns(QString description, const QString& patterns)
{
    description = description.trimmed();
    const auto open = description.lastIndexOf('(');
    if (open > 0 && description.endsWith(')'))
        description = description.left(open).trimmed();
    QStringList list;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        if (!trimmed.isEmpty())
            list << trimmed;
    }
    return description + " (" + list.join(' ') + ")";
}

}  // namespace

QString toQt(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].trimmed().isEmpty() && parts[i + 1].trimmed().isEmpty())
            break;
        entries << describedPatterns(parts[i], parts[i + 1]);
    }
    return entries.join(";;");
}

}  // namespace FileFilter
