#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

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
