// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/IniRegistryHive.h"
#include "platform/MediaRuntimeHive.h"
#include "platform/MediaRuntimeProbe.h"
#include "platform/PathNames.h"

namespace {

QString userHivePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Marvane/registry.ini";
}

QString machineHivePath()
{
    return QStringLiteral("/etc/xdg/Marvane/registry.ini");
}

}  // namespace

Registry& Registry::instance()
{
    static Registry registry;
    return registry;
}

Registry::Registry()
    : currentUser_(std::make_unique<IniRegistryHive>(userHivePath())),
      machine_(std::make_unique<MediaRuntimeHive>(std::make_unique<IniRegistryHive>(machineHivePath()),
                                                  MediaRuntimeProbe::missingComponents().empty()))
{
}

const RegistryHive* Registry::hive(Root root) const
{
    return root == Root::CurrentUser ? currentUser_.get() : machine_.get();
}

std::optional<std::string> Registry::value(Root root, const std::string& key, const std::string& name) const
{
    const RegistryHive* h = hive(root);
    return h ? h->value(key, name) : std::nullopt;
}

bool Registry::hasKey(Root root, const std::string& key) const
{
    const RegistryHive* h = hive(root);
    return h && h->hasKey(key);
}

bool Registry::setValue(Root root, const std::string& key, const std::string& name, const std::string& value)
{
    RegistryHive* h = root == Root::CurrentUser ? currentUser_.get() : machine_.get();
    return h && h->setValue(key, name, value);
}

void Registry::install(std::unique_ptr<RegistryHive> currentUser, std::unique_ptr<RegistryHive> machine)
{
    currentUser_ = std::move(currentUser);
    machine_ = std::move(machine);
}

std::string Registry::installPath() const
{
    if (auto stored = value(Root::CurrentUser, "Software\\Marvane\\InstallPath", ""))
        return *stored;
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                     : QDir::currentPath();
    return dir.toStdString();
}
