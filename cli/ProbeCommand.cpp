// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProbeCommand.h"

#include <cstdio>

#include "cli/CliHelp.h"
#include "cli/SourceProblem.h"
#include "engine/CDudidEvar.h"
#include "platform/PlainNumber.h"

namespace ProbeCommand {

namespace {

const char* kindName(SourceTrack::Kind kind)
{
    switch (kind) {
    case SourceTrack::Kind::Picture:
        return "picture";
    case SourceTrack::Kind::Sound:
        return "sound";
    case SourceTrack::Kind::Subtitles:
        break;
    }
    return "subtitles";
}

}  // namespace

std::string trackLine(const SourceTrack& track)
{
    std::string line = std::string("track: ") + kindName(track.kind) + " " + std::to_string(track.number);
    if (!track.language.empty())
        line += " language=" + track.language;
    if (!track.title.empty())
        line += " title=\"" + track.title + "\"";
    line += " codec=" + track.codec;
    if (track.isDefault)
        line += " default";
    if (track.forced)
        line += " forced";
    return line;
}

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
    for (const SourceTrack& track : control.GetTracks(file))
        std::printf("%s\n", trackLine(track).c_str());
    return 0;
}

}  // namespace ProbeCommand
