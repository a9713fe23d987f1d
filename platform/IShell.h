// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Opening documents, web pages and mail addresses, and launching programs, never through a
// command interpreter. Tests install a recording one.
class IShell {
public:
    virtual ~IShell() = default;
    // A document path, a web address or a "mailto:" address; false when nothing could open it.
    virtual bool open(const QString& target) = 0;
    // Starts a program with its arguments without waiting; false when it could not start.
    virtual bool launch(const QString& program, const QStringList& arguments) = 0;
};
