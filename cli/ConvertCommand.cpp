// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConvertCommand.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "cli/CliExecutionView.h"
#include "cli/CliHelp.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertSettings.h"
#include "cli/TaskRunLoop.h"
#include "engine/CDudidEvar.h"
#include "platform/OutputPathProbe.h"
#include "platform/PathNames.h"
#include "tasks/OutputNaming.h"
#include "tasks/TaskList.h"

namespace ConvertCommand {

namespace {

std::string plainOutputPathFor(const ConvertOptions& o)
{
    std::error_code ec;
    if (o.output.empty())
        return OutputNaming::defaultOutputPath(o.sources.front(), o.kind);
    if (o.output.back() == '/' || std::filesystem::is_directory(o.output, ec))
        return OutputNaming::defaultOutputPathIn(o.output, o.sources.front(), o.kind);
    return o.output;
}

// With --each, a later source whose base name an earlier one has gets a numbered output
// ("clip_2_output.mpg"), as the audio tool numbers its files.
std::string outputPathFor(const ConvertOptions& o, std::set<std::string>* taken)
{
    std::string path = plainOutputPathFor(o);
    const std::string folder = PathNames::folderPart(path);
    for (int n = 2; taken->count(path) != 0; ++n)
        path = OutputNaming::numberedOutputPathIn(folder, o.sources.front(), o.kind, n);
    taken->insert(path);
    return path;
}

// Appends the task the options describe, as the editor would build it. Options that do not fit
// the kind are wrong options, like any other (*wrongOption).
bool buildTask(CDudidEvar& control, const ConvertOptions& o, TaskList& tasks, std::set<std::string>* taken,
               std::string* error, bool* wrongOption)
{
    const std::size_t index = tasks.append(o.sources, outputPathFor(o, taken), OutputKinds::description(o.kind));
    ConversionTask& task = tasks.at(index);
    task.soundTrack = o.soundTrack;
    task.subtitles = o.subtitles;
    task.softSubtitles = o.softSubtitles;
    if (!ConvertSettings::fill(control, o, *task.settings, error))
        return *wrongOption = true, false;
    if (const std::string why = OutputPathProbe::refusal(task.outputPath, task.sources); !why.empty()) {
        *error = "The output file path cannot be used (" + why + "): " + task.outputPath;
        return false;
    }
    return true;
}

// One task for all sources, joined, or with --each one task per source into the output folder.
bool buildTasks(CDudidEvar& control, const ConvertOptions& o, TaskList& tasks, std::string* error, bool* wrongOption)
{
    std::set<std::string> taken;
    if (!o.each)
        return buildTask(control, o, tasks, &taken, error, wrongOption);
    std::error_code ec;
    if (!o.output.empty() && o.output.back() != '/' && !std::filesystem::is_directory(o.output, ec)) {
        *error = "--each writes into a folder: " + o.output + " is not one";
        return false;
    }
    for (const std::string& source : o.sources) {
        ConvertOptions one = o;
        one.sources = {source};
        if (!buildTask(control, one, tasks, &taken, error, wrongOption))
            return false;
    }
    return true;
}

void runTasks(CDudidEvar& control, TaskList& tasks)
{
    CliExecutionView view;
    view.showWholeRun = tasks.size() > 1;
    TaskRunLoop::run(control, tasks, view, false);
}

}  // namespace

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    ConvertOptions options;
    std::string error;
    if (!options.parse(args, &error))
        return CliHelp::usageError(error, kUsage);
    TaskList tasks;
    bool wrongOption = false;
    if (!buildTasks(control, options, tasks, &error, &wrongOption)) {
        if (wrongOption)
            return CliHelp::usageError(error, kUsage);
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    runTasks(control, tasks);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        if (tasks.at(i).status != TaskStatus::Done)
            return 1;
    }
    return 0;
}

}  // namespace ConvertCommand
