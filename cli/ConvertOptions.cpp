// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConvertOptions.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/PlainNumber.h"

namespace {

bool toInt(const std::string& text, int* value)
{
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 1000000)
        return false;
    *value = int(v);
    return true;
}

bool toSize(const std::string& text, int* width, int* height)
{
    const auto x = text.find('x');
    return x != std::string::npos && toInt(text.substr(0, x), width) && toInt(text.substr(x + 1), height) &&
           *width > 0 && *height > 0;
}

}  // namespace

bool ConvertOptions::hasMp4Options() const
{
    return !codec.empty() || !speed.empty() || quality || mp4Height || rate || audioRate || softSubtitles;
}

bool ConvertOptions::hasOlderKindOptions() const
{
    return width > 0 || fps || vbrQuality || videoKbps || audioKbps || !videoCompressor.empty() ||
           !audioCompressor.empty() || profile;
}

bool ConvertOptions::parse(const std::vector<std::string>& args, std::string* error)
{
    static const std::map<std::string, OutputKind> kinds = {
        {"avi", OutputKind::Avi}, {"dvd", OutputKind::Dvd}, {"vcd", OutputKind::Vcd},
        {"svcd", OutputKind::Svcd}, {"mpeg", OutputKind::MpegCustom}, {"wmv", OutputKind::Wmv}, {"mp4", OutputKind::Mp4}};
    bool kindGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-') {
            sources.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : std::string();
        int n = 0;
        auto needs = [&](bool ok) {
            if (!ok)
                *error = "bad or missing value for " + a;
            else
                ++i;
            return ok;
        };
        if (a == "--to") {
            auto it = kinds.find(value);
            if (!needs(hasValue && it != kinds.end()))
                return false;
            kind = it->second;
            kindGiven = true;
        } else if (a == "--soft-subtitles") {
            softSubtitles = true;
        } else if (a == "--pal" || a == "--ntsc") {
            ntsc = a == "--ntsc";
        } else if (a == "--split") {
            if (!needs(toInt(value, &n) && n > 0))
                return false;
            splitSeconds = n;
        } else if (a == "--each") {
            each = true;
        } else if (a == "--video-only") {
            videoOnly = true;
        } else if (a == "--original-size") {
            originalSize = true;
        } else if (a == "--size") {
            if (!needs(toSize(value, &width, &height)))
                return false;
        } else if (a == "--fps") {
            const auto v = PlainNumber::parse(value);
            if (!needs(hasValue && v && *v > 0 && *v <= 120))
                return false;
            fps = *v;
        } else if (a == "--vbr") {
            if (!needs(toInt(value, &n)))
                return false;
            vbrQuality = n;
        } else if (a == "--video-kbps") {
            if (!needs(toInt(value, &n) && n > 0))
                return false;
            videoKbps = n;
        } else if (a == "--audio-kbps") {
            if (!needs(toInt(value, &n) && (n == 128 || n == 224))) {
                *error = "--audio-kbps takes 128 or 224";
                return false;
            }
            audioKbps = n;
        } else if (a == "--video-compressor" || a == "--audio-compressor") {
            if (!needs(hasValue))
                return false;
            (a == "--video-compressor" ? videoCompressor : audioCompressor) = value;
        } else if (a == "--codec" || a == "--speed") {
            if (!needs(hasValue))
                return false;
            (a == "--codec" ? codec : speed) = value;
        } else if (a == "--quality" || a == "--height" || a == "--rate" || a == "--audio-rate") {
            if (!needs(toInt(value, &n)))
                return false;
            (a == "--quality" ? quality : a == "--height" ? mp4Height : a == "--rate" ? rate : audioRate) = n;
        } else if (a == "--sound-track" || a == "--subtitles") {
            if (!needs(hasValue && !value.empty()))
                return false;
            (a == "--sound-track" ? soundTrack : subtitles) = value == "none" && a == "--subtitles" ? "" : value;
        } else if (a == "--profile") {
            if (!needs(toInt(value, &n)))
                return false;
            profile = n;
        } else if (a == "-o") {
            if (!needs(hasValue))
                return false;
            output = value;
        } else {
            *error = "unknown option " + a;
            return false;
        }
    }
    if (!kindGiven)
        *error = "--to is required";
    else if (sources.empty())
        *error = "no source file";
    else if (splitSeconds > 0 && sources.size() > 1 && !each)
        *error = "--split applies to a single source";
    else if (kind != OutputKind::Mp4 && hasMp4Options())
        *error = "--codec, --quality, --speed, --height, --rate, --audio-rate and --soft-subtitles are for MP4 output";
    else if (kind == OutputKind::Mp4 && hasOlderKindOptions())
        *error = "MP4 output takes --height, --rate and --audio-rate in place of the other kinds' options";
    else if (vbrQuality && videoKbps)
        *error = "--vbr and --video-kbps exclude each other";
    else
        return true;
    return false;
}
