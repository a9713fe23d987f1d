// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommaDecimalLocale.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kName = "de_DE.UTF-8";

bool decimalIsComma()
{
    return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

// The folder that holds the locale made by localedef, made when it is not there yet. Each
// program makes it in a folder of its own and moves it in place, so programs that run side by
// side never see half of one.
QString madeLocaleFolder(std::string* whyNot)
{
    const QString root = QDir::temp().filePath(QStringLiteral("marvane-locales"));
    const QString target = root + QStringLiteral("/") + QString::fromLatin1(kName);
    if (QDir(target).exists(QStringLiteral("LC_NUMERIC")))
        return root;
    const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (localedef.isEmpty()) {
        *whyNot = "the system has no de_DE.UTF-8 locale and no localedef to make one";
        return {};
    }
    QDir().mkpath(root);
    QTemporaryDir work(root + QStringLiteral("/making-XXXXXX"));
    const QString made = work.filePath(QString::fromLatin1(kName));
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(localedef, {"-i", "de_DE", "-f", "UTF-8", made});
    // localedef reports warnings with a non-zero status and still writes the locale.
    if (!run.waitForFinished(60000) || !QDir(made).exists(QStringLiteral("LC_NUMERIC"))) {
        *whyNot = "localedef could not make de_DE.UTF-8 (is the locales package installed?): " +
                  run.readAll().trimmed().toStdString();
        return {};
    }
    if (!QDir().rename(made, target) && !QDir(target).exists(QStringLiteral("LC_NUMERIC"))) {
        *whyNot = "the locale made by localedef could not be put in place";
        return {};
    }
    return root;
}

}  // namespace

CommaDecimalLocale::CommaDecimalLocale()
{
    if (const char* now = std::setlocale(LC_ALL, nullptr))
        previous_ = now;
    active_ = switchTo();
}

bool CommaDecimalLocale::switchTo()
{
    if (std::setlocale(LC_ALL, kName) && decimalIsComma())
        return true;
    const QString folder = madeLocaleFolder(&whyNot_);
    if (folder.isEmpty())
        return false;
    setenv("LOCPATH", QFile::encodeName(folder).constData(), 1);
    setLocPath_ = true;
    if (std::setlocale(LC_ALL, kName) && decimalIsComma())
        return true;
    whyNot_ = "de_DE.UTF-8 was made but cannot be switched to";
    return false;
}

CommaDecimalLocale::~CommaDecimalLocale()
{
    std::setlocale(LC_ALL, previous_.empty() ? "C" : previous_.c_str());
    if (setLocPath_)
        unsetenv("LOCPATH");
}
