#include "cli/ConvertCommand.h"

#include <cstdio>
#include <filesystem>
#include <memory>


#include "cli/CliExecutionView.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertSettings.h"
#include "cli/TaskRunLoop.h"
#include "engine/CDudidEvar.h"
#include "platform/OutputPathProbe.h"
#include "tasks/OutputNaming.h"
#include "tasks/TaskList.h"

namespace ConvertCommand {

namespace {

std::string outputPathFor(const ConvertOptions& o)
{
    std::error_code ec;
    if (o.output.empty())
        return OutputNaming::defaultOutputPath(o.sources.front(), o.kind);
    if (o.output.back() == '/' || std::filesystem::is_directory(o.output, ec))
        return OutputNaming::defaultOutputPathIn(o.output, o.sources.front(), o.kind);
    return o.output;
}

// Appends the task the options describe, as the editor would build it.
bool buildTask(CDudidEvar& control, const ConvertOptions& o, TaskList& tasks, std::string* error)
{
    const std::size_t index = tasks.append(o.sources, outputPathFor(o), OutputKinds::description(o.kind));
    ConversionTask& task = tasks.at(index);
    task.soundTrack = o.soundTrack;
    task.subtitles = o.subtitles;
    bool ok = ConvertSettings::fill(control, o, *task.settings, error);
    if (ok && !OutputPathProbe::isUsable(task.outputPath, task.sources)) {
        *error = "The output file path is invalid or the file is used by another program: " + task.outputPath;
        ok = false;
    }
    return ok;
}

// One task for all sources, joined, or with --each one task per source into the output folder.
bool buildTasks(CDudidEvar& control, const ConvertOptions& o, TaskList& tasks, std::string* error)
{
    if (!o.each)
        return buildTask(control, o, tasks, error);
    std::error_code ec;
    if (!o.output.empty() && o.output.back() != '/' && !std::filesystem::is_directory(o.output, ec)) {
        *error = "--each writes into a folder: " + o.output + " is not one";
        return false;
    }
    for (const std::string& source : o.sources) {
        ConvertOptions one = o;
        one.sources = {source};
        if (!buildTask(control, one, tasks, error))
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
    if (!options.parse(args, &error)) {
        std::fprintf(stderr, "%s\nusage: marvane-cli %s\n", error.c_str(), kUsage);
        return 2;
    }
    TaskList tasks;
    if (!buildTasks(control, options, tasks, &error)) {
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
