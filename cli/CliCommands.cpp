// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "cli/AudioCommand.h"
#include "cli/CliCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/FramesCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/RunCommand.h"

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> table = {
        {"probe", ProbeCommand::kUsage, "Prints a video's duration in seconds and its picture size.",
         &ProbeCommand::run},
        {"convert", ConvertCommand::kUsage,
         "Converts the sources, joined in the order given, into one output of the kind given\n"
         "(or one output each with --each, or numbered parts with --split), with the task\n"
         "editor's settings for the options left out. An existing output is replaced.",
         &ConvertCommand::run},
        {"audio", AudioCommand::kUsage, "Saves the sound track of each source as a WMA or WAV file in the folder.",
         &AudioCommand::run},
        {"frames", FramesCommand::kUsage,
         "Takes still pictures of a video at a rate, between two times, as numbered BMP files\n"
         "in the folder.",
         &FramesCommand::run},
        {"run", RunCommand::kUsage,
         "Runs the tasks of a saved task list as the window runs them; --update writes each\n"
         "task's status back into the list.",
         &RunCommand::run},
    };
    return table;
}

const CliCommand* cliCommandNamed(const std::string& name)
{
    const auto& commands = cliCommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return name == c.name; });
    return found == commands.end() ? nullptr : &*found;
}
