#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// One sub-command of marvane-cli: its name, its usage line and what runs it. The exit status
// is 0 only when everything the command was asked to write was written.
struct CliCommand {
    const char* name;
    const char* usage;
    int (*run)(CDudidEvar& control, const std::vector<std::string>& args);
};

// The sub-commands, in the order the usage lists them.
const std::vector<CliCommand>& cliCommands();
