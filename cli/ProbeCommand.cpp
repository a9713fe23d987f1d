// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProbeCommand.h"

#include <cstdio>

#include "cli/CliHelp.h"
#include "cli/SourceProblem.h"
#include "engine/CDudidEvar.h"
#include "platform/PlainNumber.h"

namespace ProbeCommand {

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    const bool optionsEnded = !args.empty() && args.front() == "--";
    const std::size_t first = optionsEnded ? 1 : 0;
    if (!optionsEnded && !args.empty() && args.front().size() > 1 && args.front()[0] == '-')
        return CliHelp::usageError("unknown option " + args.front(), kUsage);
    if (args.size() != first + 1)
        return CliHelp::usageError(args.size() > first ? "one FILE only" : "a FILE is needed", kUsage);
    const std::string& file = args.back();
    const double duration = control.GetDuration(file);
    const short width = control.GetVideoWidth(file);
    const short height = control.GetVideoHeight(file);
    std::printf("duration: %s\nwidth: %d\nheight: %d\n", PlainNumber::fixed(duration, 3).c_str(), width, height);
    if (duration <= 0.0) {
        std::fprintf(stderr, "%s\n", SourceProblem::unreadable(file).c_str());
        return 1;
    }
    return 0;
}

}  // namespace ProbeCommand
