// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "platform/Prompts.h"

namespace {

std::unique_ptr<IShell>& installed()
{
    static std::unique_ptr<IShell> shell;
    return shell;
}

QUrl targetUrl(const QString& target)
{
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

}  // namespace

IShell& Shell::get()
{
    static QtShell qtShell;
    auto& current = installed();
    return current ? *current : static_cast<IShell&>(qtShell);
}

std::unique_ptr<IShell> Shell::install(std::unique_ptr<IShell> shell)
{
    auto previous = std::move(installed());
    installed() = std::move(shell);
    return previous;
}

bool Shell::openOrTell(QWidget* owner, const QString& caption, const QString& target)
{
    if (get().open(target))
        return true;
    const QUrl url = targetUrl(target);
    const QString why = url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())
                            ? QStringLiteral("The file does not exist.")
                            : QStringLiteral("No program on this desktop opens it.");
    Prompts::get().messageBox(owner, caption, QStringLiteral("Could not open %1\n%2").arg(target, why),
                              PromptIcon::Exclamation, PromptButtons::Ok);
    return false;
}

bool QtShell::open(const QString& target)
{
    const QUrl url = targetUrl(target);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

bool QtShell::launch(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
