// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// One sub-command of marvane-cli: its name, its usage line and what runs it. The exit status
// is 0 only when everything the command was asked to write was written.
struct CliCommand {
    const char* name;
    const char* usage;
    const char* summary;  // what it does, for its help
    int (*run)(CDudidEvar& control, const std::vector<std::string>& args);
};

// The sub-commands, in the order the usage lists them.
const std::vector<CliCommand>& cliCommands();
// The sub-command of that name; null when there is none.
const CliCommand* cliCommandNamed(const std::string& name);
