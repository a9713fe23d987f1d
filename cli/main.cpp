#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <stdlib.h>

#include "cli/CliCommand.h"
#include "cli/Interrupt.h"
#include "dudidevar/control/LibraryLog.h"
#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

namespace {

void printUsage(std::FILE* to)
{
    std::fprintf(to, "usage:\n");
    for (const CliCommand& command : cliCommands())
        std::fprintf(to, "  marvane-cli %s\n", command.usage);
    std::fprintf(to, "  marvane-cli --help | --version\n");
    std::fprintf(to, "--verbose shows the media libraries' own messages; -- ends the options, so a file\n"
                     "name may start with a dash.\n");
}

int usage()
{
    printUsage(stderr);
    return 2;
}

// --help and --version answer on standard output and succeed, as command-line tools do.
bool answeredInformation(const std::string& option, int* status)
{
    if (option == "--help" || option == "-h") {
        std::printf("marvane-cli converts videos, takes still pictures and saves sound tracks "
                    "without a window.\n");
        printUsage(stdout);
        return *status = 0, true;
    }
    if (option == "--version") {
        std::printf("marvane-cli %s\n", MARVANE_VERSION);
        return *status = 0, true;
    }
    return false;
}

// Takes --verbose out of the arguments (before a "--", which ends the options) and tells
// whether it was there.
bool takeVerbose(std::vector<std::string>& args)
{
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    const auto kept = std::remove(args.begin(), optionsEnd, "--verbose");
    const bool found = kept != optionsEnd;
    args.erase(kept, optionsEnd);
    return found;
}

}  // namespace

// The headless companion: loads the conversion control as the application does and runs one
// command with it.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    // The media libraries' own messages reach the terminal only when asked for; the control
    // reads this when it is made.
    if (takeVerbose(args))
        ::setenv(kLibraryLogVariable, "1", 1);
    if (args.empty())
        return usage();
    const std::string name = args.front();
    if (int status = 0; answeredInformation(name, &status))
        return status;
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
    const int status = command->run(control, std::vector<std::string>(args.begin() + 1, args.end()));
    return Interrupt::requested() ? 130 : status;
}
