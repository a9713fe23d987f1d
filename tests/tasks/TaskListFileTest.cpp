// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstring>
#include <functional>

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"
#include "tasks/TaskListStore.h"

namespace {

// A list with a task of every shape: joined, split, failed, with odd settings values.
TaskList sampleList()
{
    TaskList list;
    list.append({"/v/a b.mpg", "/v/ä.avi"}, "/out/joined.avi", "To AVI");
    TaskSettings& a = *list.at(0).settings;
    a.format = OutputFormat::Avi;
    a.width = 640;
    a.height = 480;
    a.frameRate = 29.97f;
    a.videoCompressor = -1;
    a.audioCompressor = 3;
    a.videoOnly = 1;
    list.at(0).soundTrack = "jpn";
    list.at(0).subtitles = "/v/a b.en.srt";
    list.append({"/v/long.mpg"}, "/out/long.mpg", "To DVD");
    TaskSettings& b = *list.at(1).settings;
    b.format = OutputFormat::DvdPal;
    b.split = 1;
    b.splitSeconds = 600;
    b.keepSourceSize = 1;
    b.vbr = 1;
    b.vbrQuality = 80;
    b.videoBitRate = 6000;
    b.audioBitRate = 224;
    b.mpegFrameRateIndex = 2;
    list.markDone(1);
    list.append({"/v/c.wmv"}, "/out/c.wmv", "");
    list.at(2).settings->format = OutputFormat::Wmv;
    list.at(2).settings->wmvProfile = 7;
    list.markFailed(2);
    list.append({"/v/phone.mp4"}, "/out/phone.mp4", "To MP4");
    TaskSettings& d = *list.at(3).settings;
    d.format = OutputFormat::Mp4;
    d.height = 720;
    d.frameRate = 30.0f;
    d.audioBitRate = 192;
    d.videoCodec = 1;
    d.quality = 28;
    d.speed = 2;
    list.at(3).soundTrack = "2";
    list.at(3).subtitles = "forced";
    list.at(3).softSubtitles = true;
    return list;
}

std::vector<ConversionTask> readBack(const QByteArray& json)
{
    std::vector<ConversionTask> tasks;
    std::string error;
    EXPECT_TRUE(TaskListFile::fromJson(json, &tasks, &error)) << error;
    return tasks;
}

TEST(TaskListFile, KeepsEveryFieldOfEveryTaskByteForByte)
{
    const TaskList list = sampleList();
    const QByteArray json = TaskListFile::toJson(list);
    const std::vector<ConversionTask> read = readBack(json);
    ASSERT_EQ(read.size(), list.size());
    TaskList again;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const ConversionTask& was = list.at(i);
        const ConversionTask& is = read[i];
        EXPECT_EQ(is.sources, was.sources);
        EXPECT_EQ(is.outputPath, was.outputPath);
        EXPECT_EQ(is.description, was.description);
        EXPECT_EQ(is.status, was.status);
        EXPECT_EQ(is.soundTrack, was.soundTrack);
        EXPECT_EQ(is.subtitles, was.subtitles);
        EXPECT_EQ(is.softSubtitles, was.softSubtitles);
        ASSERT_TRUE(is.settings);
        EXPECT_EQ(std::memcmp(is.settings.get(), was.settings.get(), sizeof(TaskSettings)), 0) << "task " << i + 1;
    }
    for (const ConversionTask& task : readBack(json))
        again.appendTask(ConversionTask{task.sources, task.outputPath, task.description, task.status,
                                        std::make_unique<TaskSettings>(*task.settings), task.soundTrack,
                                        task.subtitles, task.softSubtitles});
    EXPECT_EQ(TaskListFile::toJson(again), json);
}

// A valid list of two tasks whose second task, or whose top, the case changes.
QJsonObject validDocument()
{
    TaskList list;
    list.append({"/v/a.mpg"}, "/out/a.avi", "To AVI");
    list.append({"/v/b.mpg"}, "/out/b.avi", "To AVI");
    return QJsonDocument::fromJson(TaskListFile::toJson(list)).object();
}

using Change = std::function<void(QJsonObject& root, QJsonObject& task)>;

void setIn(QJsonObject& task, const char* object, const char* field, const QJsonValue& value)
{
    QJsonObject inner = task.value(object).toObject();
    inner.insert(field, value);
    task.insert(object, inner);
}

TEST(TaskListFile, RefusesEveryWrongFieldWithAReasonNamingTaskAndField)
{
    struct Case {
        const char* what;
        Change change;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"unknown version", [](QJsonObject& r, QJsonObject&) { r["version"] = 2; },
         "field \"version\": version 2 is not known"},
        {"no version", [](QJsonObject& r, QJsonObject&) { r.remove("version"); }, "field \"version\": missing"},
        {"another format", [](QJsonObject& r, QJsonObject&) { r["format"] = "playlist"; }, "not a Marvane task list"},
        {"tasks not an array", [](QJsonObject& r, QJsonObject&) { r["tasks"] = "all"; },
         "field \"tasks\": missing or not an array"},
        {"task not an object", [](QJsonObject& r, QJsonObject&) { r["tasks"] = QJsonArray{1}; },
         "task 1: not an object"},
        {"missing sources", [](QJsonObject&, QJsonObject& t) { t.remove("sources"); },
         "task 2, field \"sources\": missing"},
        {"sources not an array", [](QJsonObject&, QJsonObject& t) { t["sources"] = "/v/b.mpg"; },
         "task 2, field \"sources\": not an array"},
        {"no source", [](QJsonObject&, QJsonObject& t) { t["sources"] = QJsonArray{}; },
         "task 2, field \"sources\": empty"},
        {"source not a string", [](QJsonObject&, QJsonObject& t) { t["sources"] = QJsonArray{"/v/b.mpg", 5}; },
         "task 2, field \"sources\": item 2 is not a path"},
        {"output not a string", [](QJsonObject&, QJsonObject& t) { t["output"] = 12; },
         "task 2, field \"output\": not a string"},
        {"empty output", [](QJsonObject&, QJsonObject& t) { t["output"] = ""; }, "task 2, field \"output\": empty"},
        {"unknown status", [](QJsonObject&, QJsonObject& t) { t["status"] = "Running"; },
         "task 2, field \"status\": \"Running\" is not Waiting, Done or Failed"},
        {"unknown kind", [](QJsonObject&, QJsonObject& t) { t["kind"] = 42; },
         "task 2, field \"kind\": 42 is not a known output kind"},
        {"negative interval", [](QJsonObject&, QJsonObject& t) { setIn(t, "split", "seconds", -60); },
         "task 2, split, field \"seconds\": negative"},
        {"split flag not a flag", [](QJsonObject&, QJsonObject& t) { setIn(t, "split", "enabled", 1); },
         "task 2, split, field \"enabled\": not true or false"},
        {"fractional width", [](QJsonObject&, QJsonObject& t) { setIn(t, "settings", "width", 352.5); },
         "task 2, settings, field \"width\": not a whole number"},
        {"negative height", [](QJsonObject&, QJsonObject& t) { setIn(t, "settings", "height", -240); },
         "task 2, settings, field \"height\": negative"},
        {"bit rate past 32 bits", [](QJsonObject&, QJsonObject& t) { setIn(t, "settings", "videoBitRate", 1e10); },
         "task 2, settings, field \"videoBitRate\": out of range"},
        {"negative frame rate", [](QJsonObject&, QJsonObject& t) { setIn(t, "settings", "frameRate", -25); },
         "task 2, settings, field \"frameRate\": not a frame rate"},
        {"missing compressor", [](QJsonObject&, QJsonObject& t) {
             QJsonObject s = t["settings"].toObject();
             s.remove("audioCompressor");
             t["settings"] = s;
         },
         "task 2, settings, field \"audioCompressor\": missing"},
        {"subtitles not a string", [](QJsonObject&, QJsonObject& t) { t["subtitles"] = 2; },
         "task 2, field \"subtitles\": not a string"},
        {"a size custom MPEG cannot carry", [](QJsonObject&, QJsonObject& t) {
             t["kind"] = int(OutputFormat::MpegCustom);
             setIn(t, "settings", "width", 65540);
         },
         "task 2, settings, field \"width\": custom MPEG pictures are 2 to 4095 pixels wide, not 65540"},
        {"a NUL in the output", [](QJsonObject&, QJsonObject& t) { t["output"] = QString::fromUtf8("/out/a\0b.avi", 12); },
         "task 2, field \"output\": the path /out/a\\0b.avi contains a NUL character"},
        {"a NUL in a source", [](QJsonObject&, QJsonObject& t) { t["sources"] = QJsonArray{QString::fromUtf8("/v/\0", 4)}; },
         "task 2, field \"sources\": the path /v/\\0 contains a NUL character"},
    };
    for (const Case& c : cases) {
        QJsonObject root = validDocument();
        QJsonArray tasks = root["tasks"].toArray();
        QJsonObject second = tasks[1].toObject();
        c.change(root, second);
        if (root["tasks"].isArray() && root["tasks"].toArray().size() == 2) {
            tasks[1] = second;
            root["tasks"] = tasks;
        }
        std::vector<ConversionTask> read(1);
        read[0].description = "untouched";
        std::string error;
        EXPECT_FALSE(TaskListFile::fromJson(QJsonDocument(root).toJson(), &read, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        // Never half a list: what the caller holds stays as it was.
        ASSERT_EQ(read.size(), 1u) << c.what;
        EXPECT_EQ(read[0].description, "untouched") << c.what;
    }
}

TEST(TaskListFile, RefusesWhatIsNotJsonAndSavesOnlyWholeFiles)
{
    std::vector<ConversionTask> read;
    std::string error;
    const QByteArray json = TaskListFile::toJson(sampleList());
    EXPECT_FALSE(TaskListFile::fromJson(json.left(json.size() / 2), &read, &error));
    EXPECT_NE(error.find("not a JSON document"), std::string::npos) << error;
    EXPECT_FALSE(TaskListFile::fromJson("[1, 2]", &read, &error));
    EXPECT_TRUE(read.empty());

    QTemporaryDir folder;
    const QString path = folder.filePath("list.json");
    ASSERT_TRUE(TaskListFile::save(sampleList(), path, &error)) << error;
    ASSERT_TRUE(TaskListFile::save(TaskList{}, path, &error)) << error;
    // The new list replaced the old one whole, through no file left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"list.json"});
    ASSERT_TRUE(TaskListFile::load(path, &read, &error)) << error;
    EXPECT_TRUE(read.empty());
    // A target that cannot be written gives a reason and leaves nothing behind.
    EXPECT_FALSE(TaskListFile::save(sampleList(), folder.filePath("missing/list.json"), &error));
    EXPECT_NE(error.find("missing/list.json"), std::string::npos) << error;
    EXPECT_FALSE(TaskListFile::load(folder.filePath("none.json"), &read, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

TEST(TaskListFile, ANameTypedWithoutASuffixGetsJson)
{
    const std::pair<QString, QString> names[] = {
        {"/lists/monday", "/lists/monday.json"},     {"/lists/monday.", "/lists/monday.json"},
        {"/lists.old/monday", "/lists.old/monday.json"}, {"/lists/.monday", "/lists/.monday.json"},
        {"/lists/monday.json", "/lists/monday.json"}, {"/lists/monday.list", "/lists/monday.list"},
        {"/lists/monday.JSON", "/lists/monday.JSON"}};
    for (const auto& [typed, saved] : names)
        EXPECT_EQ(TaskListFile::savedName(typed).toStdString(), saved.toStdString()) << typed.toStdString();
}

TEST(TaskListStore, KeepsTheListAndSetsAnUnreadableOneAside)
{
    QTemporaryDir folder;
    TaskListStore store(folder.filePath("data/marvane/task-list.json"));
    TaskList empty;
    EXPECT_EQ(store.restore(empty), "");
    EXPECT_TRUE(empty.empty());

    std::string error;
    ASSERT_TRUE(store.keep(sampleList(), &error)) << error;
    TaskList restored;
    restored.append({"/v/already.mpg"}, "/out/already.avi", "To AVI");
    EXPECT_EQ(store.restore(restored), "");
    ASSERT_EQ(restored.size(), 1 + sampleList().size());
    EXPECT_EQ(restored.at(1).sources.size(), 2u);
    EXPECT_EQ(restored.at(2).status, TaskStatus::Done);
    EXPECT_EQ(restored.at(3).status, TaskStatus::Failed);

    QFile broken(store.path());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{\"format\": \"marvane-task-list\", \"version\": 1, \"tasks\": [{\"sour");
    broken.close();
    TaskList afterDamage;
    const std::string note = store.restore(afterDamage);
    EXPECT_TRUE(afterDamage.empty());
    EXPECT_NE(note.find("could not be read"), std::string::npos) << note;
    EXPECT_NE(note.find("Starting with an empty list."), std::string::npos) << note;
    const QStringList aside = QDir(folder.filePath("data/marvane")).entryList({"task-list.json.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_NE(note.find(aside.front().toStdString()), std::string::npos) << note;
    EXPECT_FALSE(QFile::exists(store.path()));
    QFile kept(folder.filePath("data/marvane/" + aside.front()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().endsWith("{\"sour"));
}

}  // namespace
