#include "tasks/TaskListFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "tasks/TaskList.h"

namespace {

const char* statusName(TaskStatus status)
{
    switch (status) {
    case TaskStatus::Done: return "Done";
    case TaskStatus::Failed: return "Failed";
    case TaskStatus::Waiting: break;
    }
    return "Waiting";
}

QJsonObject settingsObject(const TaskSettings& s)
{
    return QJsonObject{
        {"width", s.width},
        {"height", s.height},
        {"keepSourceSize", s.keepSourceSize != 0},
        {"videoOnly", s.videoOnly != 0},
        {"frameRate", double(s.frameRate)},
        {"videoCompressor", s.videoCompressor},
        {"audioCompressor", s.audioCompressor},
        {"wmvProfile", s.wmvProfile},
        {"mpegFrameRateIndex", s.mpegFrameRateIndex},
        {"vbr", s.vbr != 0},
        {"vbrQuality", s.vbrQuality},
        {"videoBitRate", s.videoBitRate},
        {"audioBitRate", s.audioBitRate},
        {"videoCodec", s.videoCodec},
        {"quality", s.quality},
        {"speed", s.speed},
    };
}

QJsonObject taskObject(const ConversionTask& task)
{
    const TaskSettings none;
    const TaskSettings& s = task.settings ? *task.settings : none;
    QJsonArray sources;
    for (const std::string& source : task.sources)
        sources.append(QString::fromStdString(source));
    QJsonObject object{
        {"sources", sources},
        {"output", QString::fromStdString(task.outputPath)},
        {"description", QString::fromStdString(task.description)},
        {"status", statusName(task.status)},
        {"kind", static_cast<qint64>(s.format)},
        {"split", QJsonObject{{"enabled", s.split != 0}, {"seconds", s.splitSeconds}}},
        {"settings", settingsObject(s)},
    };
    // Left out at their defaults, so lists without track choices read as they were written.
    if (!task.soundTrack.empty())
        object.insert("soundTrack", QString::fromStdString(task.soundTrack));
    if (!task.subtitles.empty())
        object.insert("subtitles", QString::fromStdString(task.subtitles));
    return object;
}

// Reads the fields of one JSON object; the first wrong one sets the reason, which names the
// task and the field, and every later read is skipped.
class FieldReader {
public:
    FieldReader(const QJsonObject& object, std::string where, std::string* error)
        : object_(object), where_(std::move(where)), error_(error)
    {
    }

    bool failed() const { return !error_->empty(); }

    bool refuse(const std::string& field, const std::string& reason)
    {
        if (!failed())
            *error_ = where_ + ", field \"" + field + "\": " + reason;
        return false;
    }

    std::optional<QJsonValue> field(const std::string& name)
    {
        if (failed())
            return std::nullopt;
        const QJsonValue value = object_.value(QString::fromStdString(name));
        if (value.isUndefined()) {
            refuse(name, "missing");
            return std::nullopt;
        }
        return value;
    }

    bool readString(const std::string& name, std::string* out, bool mayBeEmpty)
    {
        const auto value = field(name);
        if (!value)
            return false;
        if (!value->isString())
            return refuse(name, "not a string");
        if (!mayBeEmpty && value->toString().isEmpty())
            return refuse(name, "empty");
        *out = value->toString().toStdString();
        return true;
    }

    bool readInt(const std::string& name, std::int32_t* out, bool mayBeNegative)
    {
        const auto value = field(name);
        if (!value)
            return false;
        const double number = value->toDouble();
        if (!value->isDouble() || !std::isfinite(number) || std::floor(number) != number)
            return refuse(name, "not a whole number");
        if (number < double(std::numeric_limits<std::int32_t>::min()) ||
            number > double(std::numeric_limits<std::int32_t>::max()))
            return refuse(name, "out of range");
        if (!mayBeNegative && number < 0)
            return refuse(name, "negative");
        *out = static_cast<std::int32_t>(number);
        return true;
    }

    // A string that a list may leave out (then empty).
    bool readOptionalString(const std::string& name, std::string* out)
    {
        out->clear();
        if (!failed() && object_.value(QString::fromStdString(name)).isUndefined())
            return true;
        return readString(name, out, true);
    }

    // A whole number from 0 that a list may leave out (then 0).
    bool readOptionalInt(const std::string& name, std::int32_t* out)
    {
        if (!failed() && object_.value(QString::fromStdString(name)).isUndefined()) {
            *out = 0;
            return true;
        }
        return readInt(name, out, false);
    }

    bool readFlag(const std::string& name, std::int32_t* out)
    {
        const auto value = field(name);
        if (!value)
            return false;
        if (!value->isBool())
            return refuse(name, "not true or false");
        *out = value->toBool() ? 1 : 0;
        return true;
    }

    bool readFrameRate(const std::string& name, float* out)
    {
        const auto value = field(name);
        if (!value)
            return false;
        const double number = value->toDouble();
        if (!value->isDouble() || !std::isfinite(number) || number < 0 || number > FLT_MAX)
            return refuse(name, "not a frame rate (a number from 0)");
        *out = static_cast<float>(number);
        return true;
    }

    std::optional<QJsonObject> readObject(const std::string& name)
    {
        const auto value = field(name);
        if (!value)
            return std::nullopt;
        if (!value->isObject()) {
            refuse(name, "not an object");
            return std::nullopt;
        }
        return value->toObject();
    }

private:
    const QJsonObject& object_;
    std::string where_;
    std::string* error_;
};

bool readSources(FieldReader& r, std::vector<std::string>* sources)
{
    const auto value = r.field("sources");
    if (!value)
        return false;
    if (!value->isArray())
        return r.refuse("sources", "not an array");
    const QJsonArray array = value->toArray();
    if (array.isEmpty())
        return r.refuse("sources", "empty");
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array[i].isString() || array[i].toString().isEmpty())
            return r.refuse("sources", "item " + std::to_string(i + 1) + " is not a path");
        sources->push_back(array[i].toString().toStdString());
    }
    return true;
}

bool readStatus(FieldReader& r, TaskStatus* status)
{
    std::string name;
    if (!r.readString("status", &name, false))
        return false;
    for (TaskStatus known : {TaskStatus::Waiting, TaskStatus::Done, TaskStatus::Failed}) {
        if (name == statusName(known))
            return *status = known, true;
    }
    return r.refuse("status", "\"" + name + "\" is not Waiting, Done or Failed");
}

bool readKind(FieldReader& r, OutputFormat* format)
{
    std::int32_t code = 0;
    if (!r.readInt("kind", &code, false))
        return false;
    if (!isKnownOutputFormat(static_cast<std::uint32_t>(code)))
        return r.refuse("kind", std::to_string(code) + " is not a known output kind");
    *format = static_cast<OutputFormat>(code);
    return true;
}

bool readSplit(FieldReader& task, const std::string& where, TaskSettings* s, std::string* error)
{
    const auto object = task.readObject("split");
    if (!object)
        return false;
    FieldReader r(*object, where + ", split", error);
    r.readFlag("enabled", &s->split);
    r.readInt("seconds", &s->splitSeconds, false);
    return !r.failed();
}

bool readSettings(FieldReader& task, const std::string& where, TaskSettings* s, std::string* error)
{
    const auto object = task.readObject("settings");
    if (!object)
        return false;
    FieldReader r(*object, where + ", settings", error);
    r.readInt("width", &s->width, false);
    r.readInt("height", &s->height, false);
    r.readFlag("keepSourceSize", &s->keepSourceSize);
    r.readFlag("videoOnly", &s->videoOnly);
    r.readFrameRate("frameRate", &s->frameRate);
    r.readInt("videoCompressor", &s->videoCompressor, true);
    r.readInt("audioCompressor", &s->audioCompressor, true);
    r.readInt("wmvProfile", &s->wmvProfile, true);
    r.readInt("mpegFrameRateIndex", &s->mpegFrameRateIndex, false);
    r.readFlag("vbr", &s->vbr);
    r.readInt("vbrQuality", &s->vbrQuality, false);
    r.readInt("videoBitRate", &s->videoBitRate, false);
    r.readInt("audioBitRate", &s->audioBitRate, false);
    r.readOptionalInt("videoCodec", &s->videoCodec);
    r.readOptionalInt("quality", &s->quality);
    r.readOptionalInt("speed", &s->speed);
    return !r.failed();
}

bool readTask(const QJsonValue& value, std::size_t number, ConversionTask* task, std::string* error)
{
    const std::string where = "task " + std::to_string(number);
    if (!value.isObject())
        return *error = where + ": not an object", false;
    const QJsonObject object = value.toObject();
    FieldReader r(object, where, error);
    task->settings = std::make_unique<TaskSettings>();
    readSources(r, &task->sources);
    r.readString("output", &task->outputPath, false);
    r.readString("description", &task->description, true);
    readStatus(r, &task->status);
    r.readOptionalString("soundTrack", &task->soundTrack);
    r.readOptionalString("subtitles", &task->subtitles);
    readKind(r, &task->settings->format);
    if (!r.failed())
        readSplit(r, where, task->settings.get(), error);
    if (!r.failed())
        readSettings(r, where, task->settings.get(), error);
    return !r.failed();
}

bool readHeader(const QJsonObject& root, std::string* error)
{
    if (root.value("format").toString() != TaskListFile::kFormat)
        return *error = std::string("not a Marvane task list (\"format\" is not \"") + TaskListFile::kFormat + "\")", false;
    const QJsonValue version = root.value("version");
    if (!version.isDouble())
        return *error = "field \"version\": missing or not a number", false;
    if (version.toDouble() != TaskListFile::kVersion)
        return *error = "field \"version\": version " + QString::number(version.toDouble()).toStdString() +
                        " is not known (this program reads version " + std::to_string(TaskListFile::kVersion) + ")",
               false;
    return true;
}

}  // namespace

QByteArray TaskListFile::toJson(const TaskList& tasks)
{
    QJsonArray array;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        array.append(taskObject(tasks.at(i)));
    const QJsonObject root{{"format", kFormat}, {"version", kVersion}, {"tasks", array}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool TaskListFile::fromJson(const QByteArray& text, std::vector<ConversionTask>* tasks, std::string* error)
{
    error->clear();
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &parse);
    if (parse.error != QJsonParseError::NoError)
        return *error = "not a JSON document: " + parse.errorString().toStdString() + " at byte " +
                        std::to_string(parse.offset),
               false;
    if (!document.isObject())
        return *error = std::string("not a Marvane task list (no object at the top)"), false;
    const QJsonObject root = document.object();
    if (!readHeader(root, error))
        return false;
    if (!root.value("tasks").isArray())
        return *error = "field \"tasks\": missing or not an array", false;
    const QJsonArray array = root.value("tasks").toArray();
    std::vector<ConversionTask> read;
    read.reserve(static_cast<std::size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        ConversionTask task;
        if (!readTask(array[i], static_cast<std::size_t>(i) + 1, &task, error))
            return false;
        read.push_back(std::move(task));
    }
    *tasks = std::move(read);
    return true;
}

bool TaskListFile::save(const TaskList& tasks, const QString& path, std::string* error)
{
    QSaveFile file(path);
    const QByteArray text = toJson(tasks);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return *error = "cannot write " + path.toStdString() + ": " + file.errorString().toStdString(), false;
    return true;
}

bool TaskListFile::load(const QString& path, std::vector<ConversionTask>* tasks, std::string* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return *error = "cannot open " + path.toStdString() + ": " + file.errorString().toStdString(), false;
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return *error = "cannot read " + path.toStdString() + ": " + file.errorString().toStdString(), false;
    return fromJson(text, tasks, error);
}

QString TaskListFile::savedName(const QString& typed)
{
    const QString name = typed.section('/', -1);
    const qsizetype dot = name.lastIndexOf('.');
    const bool hasSuffix = dot > 0 && dot < name.size() - 1;
    if (name.isEmpty() || hasSuffix)
        return typed;
    return typed + (name.endsWith('.') ? QStringLiteral("json") : QStringLiteral(".json"));
}
