#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tasks/OutputKind.h"

// The options of marvane-cli convert as given; unset options take the editor's defaults.
struct ConvertOptions {
    OutputKind kind = OutputKind::Avi;
    bool ntsc = true;
    int splitSeconds = 0;
    bool videoOnly = false;
    bool originalSize = false;
    int width = 0;
    int height = 0;
    std::optional<double> fps;
    std::optional<int> vbrQuality;
    std::optional<int> videoKbps;
    std::optional<int> audioKbps;
    std::string videoCompressor;
    std::string audioCompressor;
    std::optional<int> profile;
    std::string output;
    std::vector<std::string> sources;
    bool each = false;  // one task per source, in a folder, rather than one joined output

    // False with the reason for options that do not make a task.
    bool parse(const std::vector<std::string>& args, std::string* error);
};
