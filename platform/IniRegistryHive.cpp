// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniRegistryHive.h"

#include <QSettings>

namespace {

QString groupOf(const std::string& key)
{
    return QString::fromStdString(key).replace('\\', '/');
}

QString entryOf(const std::string& key, const std::string& name)
{
    return groupOf(key) + '/' + (name.empty() ? QStringLiteral("@") : QString::fromStdString(name));
}

}  // namespace

IniRegistryHive::IniRegistryHive(QString path) : path_(std::move(path)) {}

bool IniRegistryHive::hasKey(const std::string& key) const
{
    QSettings settings(path_, QSettings::IniFormat);
    const QString group = groupOf(key) + '/';
    for (const QString& k : settings.allKeys()) {
        if (k.startsWith(group, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::optional<std::string> IniRegistryHive::value(const std::string& key, const std::string& name) const
{
    QSettings settings(path_, QSettings::IniFormat);
    const QVariant v = settings.value(entryOf(key, name));
    if (!v.isValid())
        return std::nullopt;
    return v.toString().toStdString();
}

bool IniRegistryHive::setValue(const std::string& key, const std::string& name, const std::string& value)
{
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(entryOf(key, name), QString::fromStdString(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}
