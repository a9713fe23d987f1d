#include "cli/FramesCommand.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>

#include "cli/Interrupt.h"
#include "engine/CDudidEvar.h"
#include "platform/PathNames.h"
#include "tasks/OutputNaming.h"

namespace FramesCommand {

namespace {

// The end-time field shows the duration to one decimal; an end this close to it is the end.
constexpr double kEndRounding = 0.05;

struct Options {
    std::optional<double> from;
    std::optional<double> to;
    long perSecond = 3;
    bool originalSize = true;
    int width = 0;
    int height = 0;
    std::string folder;
    std::string source;
};

int fail(const char* format, const std::string& what)
{
    std::fprintf(stderr, format, what.c_str());
    std::fputc('\n', stderr);
    return 2;
}

std::optional<double> toSeconds(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= 0.0) || value > 1.0e7)
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--original-size") {
            options.originalSize = true;
        } else if (!hasValue && (arg == "--from" || arg == "--to" || arg == "--per-second" || arg == "--size" ||
                                 arg == "-o")) {
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
        } else if (arg == "-o") {
            options.folder = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            fail("unknown option %s", arg);
            return std::nullopt;
        } else if (options.source.empty()) {
            options.source = arg;
        } else {
            fail("only one source: %s is one too many", arg);
            return std::nullopt;
        }
    }
    if (options.folder.empty() || options.source.empty()) {
        fail("usage: marvane-cli %s", kUsage);
        return std::nullopt;
    }
    *status = 0;
    return options;
}

int clampedRate(long perSecond)
{
    if (perSecond >= kFewestPerSecond && perSecond <= kMostPerSecond)
        return int(perSecond);
    const int clamped = perSecond < kFewestPerSecond ? kFewestPerSecond : kMostPerSecond;
    std::fprintf(stderr, "pictures per second must be a whole number between %d and %d; using %d\n",
                 kFewestPerSecond, kMostPerSecond, clamped);
    return clamped;
}

// The range asked for, or the whole file when it is not a range within the file.
std::pair<double, double> pictureRange(const Options& options, double duration)
{
    const double start = options.from.value_or(0.0);
    double end = options.to.value_or(duration);
    if (end > duration && end - duration < kEndRounding)
        end = duration;
    if (start <= duration && end <= duration && start < end)
        return {start, end};
    if (options.from || options.to)
        std::fprintf(stderr, "the range is not within the video; taking pictures of the whole file\n");
    return {0.0, duration};
}

}  // namespace

std::vector<double> pictureTimes(double start, double span, int perSecond)
{
    std::vector<double> times;
    if (!(span > 0.0) || perSecond < 1)
        return times;
    const double interval = 1.0 / perSecond;
    for (double t = 0.0; t < span; t += interval)
        times.push_back(start + t);
    return times;
}

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
        return fail("%s: not a video the control can read", options->source), 1;

    const int perSecond = clampedRate(options->perSecond);
    const auto [start, end] = pictureRange(*options, duration);
    const std::string prefix =
        OutputNaming::picturePrefix(PathNames::withTrailingSeparator(options->folder), options->source);
    const std::vector<double> times = pictureTimes(start, end - start, perSecond);
    const bool showProgress = isatty(fileno(stderr));
    int failed = 0;
    for (std::size_t i = 0; i < times.size() && !Interrupt::requested(); ++i) {
        const std::string picture = OutputNaming::picturePath(prefix, int(i) + 1);
        const bool written = options->originalSize
                                 ? control.SaveFrame(options->source, times[i], picture)
                                 : control.SaveFrameSized(options->source, times[i], picture,
                                                          short(options->width), short(options->height));
        if (!written) {
            ++failed;
            std::fprintf(stderr, "%s: could not be written\n", picture.c_str());
        }
        if (showProgress)
            std::fprintf(stderr, "\r%3d%%", int(100.0 * double(i + 1) / double(times.size())));
    }
    if (showProgress)
        std::fputc('\n', stderr);
    std::printf("%zu pictures written to %s\n", times.size() - std::size_t(failed), options->folder.c_str());
    return failed == 0 ? 0 : 1;
}

}  // namespace FramesCommand
