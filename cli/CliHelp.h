// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// What marvane-cli answers about itself before any command runs: --help, --version,
// help [COMMAND], COMMAND --help, and arguments that name no command.
class CliHelp {
public:
    // The exit status once the arguments (without the program's name and --verbose) have been
    // answered here; nothing when they name a command to run.
    static std::optional<int> answer(const std::vector<std::string>& args);
    // A command's mistaken arguments: the reason and the command's usage on standard error.
    static int usageError(const std::string& reason, const char* usage);

private:
    static void printOverview(std::FILE* to);
    static int commandHelp(const std::string& name);
    static bool asksForHelp(const std::vector<std::string>& commandArgs);
};
