#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/Interrupt.h"
#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const CliCommand& command : cliCommands())
        std::fprintf(stderr, "  marvane-cli %s\n", command.usage);
    return 2;
}

}  // namespace

// The headless companion: loads the conversion control as the application does and runs one
// command with it.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return usage();
    const std::string name = argv[1];
    const auto& commands = cliCommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const CliCommand& c) { return name == c.name; });
    if (command == commands.end())
        return usage();

    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "cannot load the conversion control: %s\n", error.c_str());
        return 3;
    }
    CDudidEvar control;
    if (!control.Create(kDudidEvarClassId, nullptr)) {
        std::fprintf(stderr, "the conversion control cannot be created\n");
        return 3;
    }
    Interrupt::install();
    const int status = command->run(control, std::vector<std::string>(argv + 2, argv + argc));
    return Interrupt::requested() ? 130 : status;
}
