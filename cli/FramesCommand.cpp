// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FramesCommand.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>
#include <vector>

#include "cli/CliHelp.h"
#include "cli/Interrupt.h"
#include "cli/SourceProblem.h"
#include "engine/CDudidEvar.h"
#include "platform/PathNames.h"
#include "platform/PlainNumber.h"
#include "tasks/OutputNaming.h"
#include "tools/PictureLoop.h"
#include "tools/PictureRange.h"
#include "tools/ProgressPercent.h"

namespace FramesCommand {

namespace {

struct Options {
    std::optional<double> from;
    std::optional<double> to;
    long perSecond = 3;
    bool originalSize = true;
    int width = 0;
    int height = 0;
    std::string folder;
    std::string source;
    std::string subtitles;  // drawn onto the pictures; "" none
};

int fail(const char* format, const std::string& what)
{
    std::vector<char> reason(std::snprintf(nullptr, 0, format, what.c_str()) + 1);
    std::snprintf(reason.data(), reason.size(), format, what.c_str());
    return CliHelp::usageError(reason.data(), kUsage);
}

std::optional<double> toSeconds(const std::string& text)
{
    const auto value = PlainNumber::parse(text);
    if (!value || !(*value >= 0.0) || *value > 1.0e7)
        return std::nullopt;
    return value;
}

std::optional<long> toWhole(const std::string& text)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0')
        return std::nullopt;
    return value;
}

bool parseSize(const std::string& text, Options& options)
{
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    const auto width = toWhole(text.substr(0, x));
    const auto height = toWhole(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > 0x7fff || *height > 0x7fff)
        return false;
    options.originalSize = false;
    options.width = int(*width);
    options.height = int(*height);
    return true;
}

// Reads the arguments; an error message and exit status 2 on a mistake.
std::optional<Options> parse(const std::vector<std::string>& args, int* status)
{
    Options options;
    *status = 2;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (optionsEnded || arg.empty() || arg[0] != '-') {
            if (!options.source.empty()) {
                fail("only one source: %s is one too many", arg);
                return std::nullopt;
            }
            options.source = arg;
        } else if (arg == "--original-size") {
            options.originalSize = true;
        } else if (!hasValue && (arg == "--from" || arg == "--to" || arg == "--per-second" || arg == "--size" ||
                                 arg == "--subtitles" || arg == "-o")) {
            fail("%s needs a value", arg);
            return std::nullopt;
        } else if (arg == "--from" || arg == "--to") {
            const auto seconds = toSeconds(args[++i]);
            if (!seconds) {
                fail("%s: not a time in seconds", args[i]);
                return std::nullopt;
            }
            (arg == "--from" ? options.from : options.to) = seconds;
        } else if (arg == "--per-second") {
            const auto count = toWhole(args[++i]);
            if (!count) {
                fail("%s: the number of pictures per second must be a whole number", args[i]);
                return std::nullopt;
            }
            options.perSecond = *count;
        } else if (arg == "--size") {
            if (!parseSize(args[++i], options)) {
                fail("%s: the size must be WIDTHxHEIGHT in pixels", args[i]);
                return std::nullopt;
            }
        } else if (arg == "--subtitles") {
            options.subtitles = args[++i] == "none" ? std::string() : args[i];
        } else if (arg == "-o") {
            options.folder = args[++i];
        } else {
            fail("unknown option %s", arg);
            return std::nullopt;
        }
    }
    if (options.folder.empty() || options.source.empty()) {
        fail("%s", options.source.empty() ? "a SOURCE is needed" : "-o FOLDER is needed");
        return std::nullopt;
    }
    *status = 0;
    return options;
}

int clampedRate(long perSecond)
{
    if (PictureRange::rateInRange(perSecond))
        return int(perSecond);
    const long clamped = PictureRange::clampedRate(perSecond);
    std::fprintf(stderr, "pictures per second must be a whole number between %ld and %ld; using %ld\n",
                 PictureRange::kFewestPerSecond, PictureRange::kMostPerSecond, clamped);
    return int(clamped);
}

// The range asked for, or the whole file when it is not a range within the file.
PictureRange pictureRange(const Options& options, double duration)
{
    const PictureRange range(options.from.value_or(0.0), options.to.value_or(duration), duration);
    if (!range.asAsked() && (options.from || options.to))
        std::fprintf(stderr, "the range is not within the video; taking pictures of the whole file\n");
    return range;
}

}  // namespace

int run(CDudidEvar& control, const std::vector<std::string>& args)
{
    int status = 0;
    const auto options = parse(args, &status);
    if (!options)
        return status;
    if (!QFileInfo(QString::fromStdString(options->folder)).isDir())
        return fail("%s: not a folder", options->folder), 1;
    const double duration = control.GetDuration(options->source);
    if (duration <= 0.0)
        return fail("%s", SourceProblem::unreadable(options->source)), 1;
    if (control.GetVideoWidth(options->source) <= 0)
        return fail("%s has no picture", options->source), 1;

    control.SetStillSubtitles(options->subtitles);
    const int perSecond = clampedRate(options->perSecond);
    const PictureRange range = pictureRange(*options, duration);
    const std::string prefix =
        OutputNaming::picturePrefix(PathNames::withTrailingSeparator(options->folder), options->source);
    const double interval = 1.0 / perSecond;
    PictureLoop pictures(prefix, range.start(), range.span(), interval);
    const bool showProgress = isatty(fileno(stderr));
    int written = 0;
    int failed = 0;
    for (; pictures.hasNext() && !Interrupt::requested(); pictures.advance()) {
        const std::string picture = pictures.path();
        const bool saved = options->originalSize
                               ? control.SaveFrame(options->source, pictures.time(), picture)
                               : control.SaveFrameSized(options->source, pictures.time(), picture,
                                                        short(options->width), short(options->height));
        if (saved) {
            ++written;
        } else {
            ++failed;
            const std::string why = control.GetLastError();
            std::fprintf(stderr, "%s: %s\n", picture.c_str(), why.empty() ? "could not be written" : why.c_str());
        }
        if (showProgress) {
            const int percent = ProgressPercent::ofSpan(pictures.elapsed() + interval, range.span());
            std::fprintf(stderr, "\r%3d%%", std::min(100, percent));
        }
    }
    if (showProgress)
        std::fputc('\n', stderr);
    std::printf("%d pictures written to %s\n", written, options->folder.c_str());
    return failed == 0 ? 0 : 1;
}

}  // namespace FramesCommand
