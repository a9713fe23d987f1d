// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/OutputClash.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cctype>

#include "platform/OutputPathProbe.h"
#include "platform/PathNames.h"
#include "tasks/TaskList.h"

namespace {

constexpr std::size_t kPartDigits = 3;  // parts are numbered "_%03u"

std::string absolute(const std::string& path)
{
    return QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath()).toStdString();
}

bool allDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// A part file of the output: its name without the extension, "_", a part number of at least
// three digits (with leading zeros only up to three), then the output's extension.
bool isPartOf(const std::string& output, const std::string& file)
{
    const std::string ext = PathNames::extension(output);
    const std::string stem = output.substr(0, output.size() - ext.size());
    const std::size_t numberStart = stem.size() + 1;
    if (file.size() < numberStart + kPartDigits + ext.size() || file.compare(0, stem.size(), stem) != 0 ||
        file[stem.size()] != '_' || file.compare(file.size() - ext.size(), ext.size(), ext) != 0)
        return false;
    const std::string number = file.substr(numberStart, file.size() - ext.size() - numberStart);
    if (!allDigits(number) || std::stoul(number.substr(0, 9)) == 0)
        return false;
    return number.size() == kPartDigits || number.front() != '0';
}

}  // namespace

bool OutputClash::writes(const std::string& outputPath, bool split, const std::string& file)
{
    const std::string output = absolute(outputPath);
    const std::string other = absolute(file);
    if (output == other || OutputPathProbe::sameFile(outputPath, file))
        return true;
    return split && isPartOf(output, other);
}

std::optional<OutputClash::Found> OutputClash::find(const TaskList& tasks, std::optional<std::size_t> edited,
                                                    const std::string& outputPath, bool split)
{
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const ConversionTask& task = tasks.at(i);
        if (i == edited || task.outputPath.empty())
            continue;
        // Part files of two different outputs never meet, so comparing each output with the
        // other's files is enough.
        if (writes(task.outputPath, task.isSplit(), outputPath))
            return Found{i, outputPath};
        if (writes(outputPath, split, task.outputPath))
            return Found{i, task.outputPath};
    }
    return std::nullopt;
}
