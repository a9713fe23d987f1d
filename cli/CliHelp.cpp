// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliHelp.h"

#include <algorithm>

#include "cli/CliCommand.h"
#include "platform/LicenceNotice.h"

namespace {

bool isHelpOption(const std::string& arg) { return arg == "--help" || arg == "-h"; }

void printUsageLines(std::FILE* to)
{
    std::fprintf(to, "usage:\n");
    for (const CliCommand& command : cliCommands())
        std::fprintf(to, "  marvane-cli %s\n", command.usage);
    std::fprintf(to, "  marvane-cli help [COMMAND] | --help | --version\n");
}

int overviewError(const std::string& reason)
{
    std::fprintf(stderr, "%s\n", reason.c_str());
    printUsageLines(stderr);
    return 2;
}

}  // namespace

void CliHelp::printOverview(std::FILE* to)
{
    std::fprintf(to, "marvane-cli converts videos, takes still pictures and saves sound tracks without a window.\n\n");
    printUsageLines(to);
    std::fprintf(to, "\n--verbose shows the media libraries' own messages; -- ends the options, so a file\n"
                     "name may start with a dash. \"marvane-cli help COMMAND\" describes a command;\n"
                     "man marvane-cli describes every option and the defaults of each kind of output.\n");
}

int CliHelp::commandHelp(const std::string& name)
{
    const CliCommand* command = cliCommandNamed(name);
    if (!command)
        return overviewError("unknown command " + name);
    std::printf("usage: marvane-cli %s\n\n%s\n", command->usage, command->summary);
    return 0;
}

bool CliHelp::asksForHelp(const std::vector<std::string>& commandArgs)
{
    const auto optionsEnd = std::find(commandArgs.begin(), commandArgs.end(), "--");
    return std::any_of(commandArgs.begin(), optionsEnd, isHelpOption);
}

std::optional<int> CliHelp::answer(const std::vector<std::string>& args)
{
    if (args.empty())
        return overviewError("no command given");
    const std::string& first = args.front();
    if (isHelpOption(first) || (first == "help" && args.size() == 1)) {
        printOverview(stdout);
        return 0;
    }
    if (first == "help")
        return args.size() == 2 ? commandHelp(args[1]) : overviewError("help describes one command");
    if (first == "--version") {
        std::printf("marvane-cli %s\n%s", MARVANE_VERSION, kLicenceNotice);
        return 0;
    }
    if (!first.empty() && first[0] == '-')
        return overviewError("unknown option " + first);
    if (!cliCommandNamed(first))
        return overviewError("unknown command " + first);
    if (asksForHelp({args.begin() + 1, args.end()}))
        return commandHelp(first);
    return std::nullopt;
}

int CliHelp::usageError(const std::string& reason, const char* usage)
{
    std::fprintf(stderr, "%s\nusage: marvane-cli %s\n", reason.c_str(), usage);
    return 2;
}
