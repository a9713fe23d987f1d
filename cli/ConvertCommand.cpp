#include "cli/ConvertCommand.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <QEventLoop>
#include <QTimer>

#include "cli/CliExecutionView.h"
#include "cli/ConvertOptions.h"
#include "cli/Interrupt.h"
#include "engine/CDudidEvar.h"
#include "platform/OutputPathProbe.h"
#include "tasks/MpegFrameRates.h"
#include "tasks/OutputNaming.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskList.h"

namespace ConvertCommand {

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The last name containing the text in any letter case, as the AVI panel chooses its
// defaults; 0 without a match.
short lastContaining(CCompressorList list, const std::string& text)
{
    short found = 0;
    const short count = list.GetCount();
    for (short i = 0; i < count; ++i) {
        if (lower(list.GetName(i)).find(lower(text)) != std::string::npos)
            found = i;
    }
    return found;
}

// A compressor the user named: its exact name, else the first name containing the text.
bool findCompressor(CCompressorList list, const std::string& name, std::int32_t* index)
{
    const short exact = list.FindIndex(name);
    if (exact >= 0)
        return *index = exact, true;
    const short count = list.GetCount();
    for (short i = 0; i < count; ++i) {
        if (lower(list.GetName(i)).find(lower(name)) != std::string::npos)
            return *index = i, true;
    }
    return false;
}

bool fillAvi(CDudidEvar& control, const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    s.videoCompressor = lastContaining(control.GetVideoCompressors(), "divx");
    s.audioCompressor = lastContaining(control.GetAudioCompressors(), "mpeg layer-3");
    if (!o.videoCompressor.empty() && !findCompressor(control.GetVideoCompressors(), o.videoCompressor, &s.videoCompressor))
        return *error = "no video compressor named " + o.videoCompressor, false;
    if (!o.audioCompressor.empty() && !findCompressor(control.GetAudioCompressors(), o.audioCompressor, &s.audioCompressor))
        return *error = "no audio compressor named " + o.audioCompressor, false;
    s.keepSourceSize = o.originalSize ? 1 : 0;
    if (!o.originalSize) {
        s.width = o.width > 0 ? o.width : 352;
        s.height = o.height > 0 ? o.height : 240;
    }
    s.frameRate = float(o.fps.value_or(24.0));
    return true;
}

bool fillMpeg(const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    const bool custom = o.kind == OutputKind::MpegCustom;
    const bool disc = o.kind == OutputKind::Vcd || o.kind == OutputKind::Svcd;
    if (disc && (o.vbrQuality || o.videoKbps))
        return *error = "VCD and SVCD have a fixed bit rate", false;
    if (!custom && (o.width > 0 || o.fps))
        return *error = "the disc formats have a fixed size and frame rate", false;
    if (o.originalSize)
        return *error = "MPEG output does not keep the source size", false;
    struct Preset { int kbps, width, ntscHeight, palHeight; };
    const Preset preset = o.kind == OutputKind::Dvd    ? Preset{5000, 720, 480, 576}
                          : o.kind == OutputKind::Vcd  ? Preset{1150, 352, 240, 288}
                          : o.kind == OutputKind::Svcd ? Preset{2500, 480, 480, 576}
                                                       : Preset{2000, 720, 480, 480};
    s.width = custom && o.width > 0 ? o.width : preset.width;
    s.height = custom && o.height > 0 ? o.height : (o.ntsc || custom ? preset.ntscHeight : preset.palHeight);
    s.mpegFrameRateIndex = o.ntsc || custom ? 3 : 2;
    if (custom && o.fps) {
        const auto& rates = MpegFrameRates::kRates;
        const auto it = std::find_if(rates.begin(), rates.end(), [&](float r) { return std::fabs(r - *o.fps) < 0.01; });
        if (it == rates.end())
            return *error = "MPEG frame rates are 23.976, 24, 25, 29.97 and 30", false;
        s.mpegFrameRateIndex = std::int32_t(it - rates.begin());
    }
    s.vbr = o.vbrQuality ? 1 : 0;
    s.vbrQuality = std::min(o.vbrQuality.value_or(100), 100);
    s.videoBitRate = std::min(o.videoKbps.value_or(preset.kbps), 10000);
    s.audioBitRate = o.kind == OutputKind::Vcd ? 224 : o.audioKbps.value_or(224);
    return true;
}

bool fillWmv(CDudidEvar& control, const ConvertOptions& o, TaskSettings& s, std::string* error)
{
    CWmvProfileList profiles = control.GetWmvProfiles();
    const short count = profiles.GetCount();
    s.wmvProfile = -1;
    for (short i = 0; i < count && s.wmvProfile < 0; ++i) {
        if (profiles.GetProfileName(i).find("Audio") == std::string::npos)
            s.wmvProfile = i;
    }
    if (o.profile) {
        if (*o.profile >= count || profiles.GetProfileName(short(*o.profile)).find("Audio") != std::string::npos)
            return *error = "no video profile " + std::to_string(*o.profile), false;
        s.wmvProfile = *o.profile;
    }
    if (s.wmvProfile < 0)
        return *error = "the control offers no video profile", false;
    return true;
}

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
    TaskSettings& s = *task.settings;
    s.format = OutputKinds::toFormat(o.kind, o.ntsc);
    s.videoOnly = o.videoOnly ? 1 : 0;
    s.split = o.splitSeconds > 0 && o.sources.size() == 1 ? 1 : 0;
    s.splitSeconds = o.splitSeconds;
    bool ok = true;
    if (o.kind == OutputKind::Avi)
        ok = fillAvi(control, o, s, error);
    else if (o.kind == OutputKind::Wmv)
        ok = fillWmv(control, o, s, error);
    else
        ok = fillMpeg(o, s, error);
    if (ok && !OutputPathProbe::isUsable(task.outputPath, task.sources)) {
        *error = "The output file path is invalid or the file is used by another program: " + task.outputPath;
        ok = false;
    }
    return ok;
}

// Runs the list as the main window runs it, until the run comes to rest; Ctrl-C stops it.
void runTasks(CDudidEvar& control, TaskList& tasks)
{
    CliExecutionView view;
    TaskExecution execution(control, tasks, view);
    QEventLoop loop;
    view.onRest = [&] { loop.quit(); };
    QObject::connect(&control, &CDudidEvar::convertDone, &loop, [&] { execution.convertDone(); });
    QObject::connect(&control, &CDudidEvar::convertProgress, &loop,
                     [&](double done, double total) { execution.convertProgress(done, total); });
    QObject::connect(&control, &CDudidEvar::convertFailed, &loop,
                     [&](const QString& reason) { execution.convertFailed(reason.toStdString()); });
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&] {
        if (Interrupt::requested() && execution.running())
            execution.execute();
    });
    interruptWatch.start(100);
    execution.execute();
    if (execution.state() == TaskExecution::State::Running)
        loop.exec();
    execution.close();
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
    if (!buildTask(control, options, tasks, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    runTasks(control, tasks);
    return tasks.at(0).status == TaskStatus::Done ? 0 : 1;
}

}  // namespace ConvertCommand
