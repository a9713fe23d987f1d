// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/AudioCommand.h"
#include "cli/CliHelp.h"
#include "cli/Interrupt.h"

#include <cstdio>

#include "cli/RunWaiter.h"
#include "engine/CDudidEvar.h"
#include "platform/PathNames.h"
#include "tools/AudioItem.h"

namespace AudioCommand {

namespace {

// One source's sound track, as the audio tool writes it.
bool extract(CDudidEvar& control, const std::string& source, const std::string& output, AudioFormat format)
{
    AudioItem item = AudioItem::forSource(control, source);
    item.outputPath = output;
    if (!item.start(control, format)) {
        const std::string why = control.GetLastError();
        if (why.empty())
            std::fprintf(stderr, "%s: its sound cannot be saved\n", source.c_str());
        else
            std::fprintf(stderr, "%s\n", why.c_str());
        return false;
    }
    RunWaiter waiter(control);
    return waiter.wait(item.outputPath);
}

}  // namespace

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    int format = 0;  // 1 WMA, 2 WAV
    std::string folder;
    std::vector<std::string> sources;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (optionsEnded || args[i].empty() || args[i][0] != '-')
            sources.push_back(args[i]);
        else if (args[i] == "--")
            optionsEnded = true;
        else if (args[i] == "--wma" || args[i] == "--wav")
            format = args[i] == "--wma" ? 1 : 2;
        else if (args[i] == "-o" && i + 1 < args.size())
            folder = args[++i];
        else
            return CliHelp::usageError(args[i] == "-o" ? "-o needs a folder" : "unknown option " + args[i], kUsage);
    }
    if (format == 0)
        return CliHelp::usageError("--wma or --wav is needed", kUsage);
    if (folder.empty() || sources.empty())
        return CliHelp::usageError(folder.empty() ? "-o FOLDER is needed" : "a SOURCE is needed", kUsage);
    const AudioFormat chosen = format == 1 ? AudioFormat::Wma : AudioFormat::Wav;
    const std::vector<std::string> outputs =
        AudioItem::outputPathsFor(PathNames::withTrailingSeparator(folder), sources, chosen);
    int failures = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (Interrupt::requested())
            break;
        if (!extract(control, sources[i], outputs[i], chosen))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace AudioCommand
