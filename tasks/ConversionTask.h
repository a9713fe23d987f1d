// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <memory>
#include <string>
#include <vector>

#include "tasks/TaskSettings.h"
#include "tasks/TaskStatus.h"

// One conversion job. It owns its settings record; a task can be moved but never copied, so
// no two live tasks can refer to one record.
struct ConversionTask {
    std::vector<std::string> sources;
    std::string outputPath;
    std::string description;
    TaskStatus status = TaskStatus::Waiting;
    std::unique_ptr<TaskSettings> settings;
    // The sound track of each source ("" its default, a number from 1, or a language) and the
    // subtitles burned in ("" none, a track number or language, "forced", or a subtitle file).
    std::string soundTrack;
    std::string subtitles;
    bool softSubtitles = false;  // MP4: the subtitles kept as a track players switch on and off
    // The task's members as the list file held them: those this program does not use (notes,
    // claims of other runs) are written back with it.
    QJsonObject kept{};

    bool isJoin() const { return sources.size() >= 2; }
    // Split mode applies to a single source only, whatever the record holds.
    bool isSplit() const { return settings && settings->split == 1 && sources.size() == 1; }
};
