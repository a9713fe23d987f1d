#pragma once

#include <memory>

#include "platform/IShell.h"

class Shell {
public:
    static IShell& get();
    static std::unique_ptr<IShell> install(std::unique_ptr<IShell> shell);
};

class QtShell : public IShell {
public:
    bool open(const QString& target) override;
    bool launch(const QString& program, const QStringList& arguments) override;
};
