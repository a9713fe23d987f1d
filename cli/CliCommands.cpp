#include "cli/AudioCommand.h"
#include "cli/CliCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/FramesCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/RunCommand.h"

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> table = {
        {"probe", ProbeCommand::kUsage, &ProbeCommand::run},
        {"convert", ConvertCommand::kUsage, &ConvertCommand::run},
        {"audio", AudioCommand::kUsage, &AudioCommand::run},
        {"frames", FramesCommand::kUsage, &FramesCommand::run},
        {"run", RunCommand::kUsage, &RunCommand::run},
    };
    return table;
}
