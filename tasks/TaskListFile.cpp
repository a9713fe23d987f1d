// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskListFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cfloat>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "platform/WriteFailureReason.h"
#include "tasks/OutputLimits.h"
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

// The members this program writes; every other member of the object is left as it is.
void setSettingsMembers(QJsonObject& o, const TaskSettings& s)
{
    o["width"] = s.width;
    o["height"] = s.height;
    o["keepSourceSize"] = s.keepSourceSize != 0;
    o["videoOnly"] = s.videoOnly != 0;
    o["frameRate"] = double(s.frameRate);
    o["videoCompressor"] = s.videoCompressor;
    o["audioCompressor"] = s.audioCompressor;
    o["wmvProfile"] = s.wmvProfile;
    o["mpegFrameRateIndex"] = s.mpegFrameRateIndex;
    o["vbr"] = s.vbr != 0;
    o["vbrQuality"] = s.vbrQuality;
    o["videoBitRate"] = s.videoBitRate;
    o["audioBitRate"] = s.audioBitRate;
    o["videoCodec"] = s.videoCodec;
    o["quality"] = s.quality;
    o["speed"] = s.speed;
}

void setOrRemove(QJsonObject& object, const char* name, const std::string& value)
{
    if (value.empty())
        object.remove(name);
    else
        object[name] = QString::fromStdString(value);
}

// What a task converts, in the members that say it; `base` holds the members kept beside them.
QJsonObject whatObject(const ConversionTask& task, QJsonObject base)
{
    const TaskSettings none;
    const TaskSettings& s = task.settings ? *task.settings : none;
    QJsonArray sources;
    for (const std::string& source : task.sources)
        sources.append(QString::fromStdString(source));
    base["sources"] = sources;
    base["output"] = QString::fromStdString(task.outputPath);
    base["kind"] = static_cast<qint64>(s.format);
    QJsonObject split = base.value("split").toObject();
    split["enabled"] = s.split != 0;
    split["seconds"] = s.splitSeconds;
    base["split"] = split;
    QJsonObject settings = base.value("settings").toObject();
    setSettingsMembers(settings, s);
    base["settings"] = settings;
    // Left out at their defaults, so lists without track choices read as they were written.
    setOrRemove(base, "soundTrack", task.soundTrack);
    setOrRemove(base, "subtitles", task.subtitles);
    if (task.softSubtitles)
        base["softSubtitles"] = true;
    else
        base.remove("softSubtitles");
    return base;
}

QJsonObject taskObject(const ConversionTask& task)
{
    QJsonObject object = whatObject(task, task.kept);
    object["description"] = QString::fromStdString(task.description);
    object["status"] = statusName(task.status);
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
    if (r.failed())
        return false;
    if (const std::optional<OutputLimits::Refusal> refusal = OutputLimits::check(*s))
        return r.refuse(refusal->field, refusal->reason);
    return true;
}

// A path with a NUL in it would name another file: the system reads it only up to the NUL.
bool refuseNulInPaths(FieldReader& r, const ConversionTask& task)
{
    for (const std::string& source : task.sources) {
        if (const std::string why = WriteFailureReason::nulInPath(source); !why.empty())
            return r.refuse("sources", why);
    }
    if (const std::string why = WriteFailureReason::nulInPath(task.outputPath); !why.empty())
        return r.refuse("output", why);
    if (const std::string why = WriteFailureReason::nulInPath(task.subtitles); !why.empty())
        return r.refuse("subtitles", why);
    return true;
}

bool readTask(const QJsonValue& value, std::size_t number, ConversionTask* task, std::string* error)
{
    const std::string where = "task " + std::to_string(number);
    if (!value.isObject())
        return *error = where + ": not an object", false;
    const QJsonObject object = value.toObject();
    FieldReader r(object, where, error);
    task->settings = std::make_unique<TaskSettings>();
    task->kept = object;
    readSources(r, &task->sources);
    r.readString("output", &task->outputPath, false);
    r.readString("description", &task->description, true);
    readStatus(r, &task->status);
    r.readOptionalString("soundTrack", &task->soundTrack);
    r.readOptionalString("subtitles", &task->subtitles);
    std::int32_t soft = 0;
    if (object.contains("softSubtitles") && r.readFlag("softSubtitles", &soft))
        task->softSubtitles = soft != 0;
    readKind(r, &task->settings->format);
    if (!r.failed())
        refuseNulInPaths(r, *task);
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

std::string systemError(int code)
{
#ifdef __GLIBC__
    if (const char* text = ::strerrordesc_np(code))
        return text;
#endif
    return std::strerror(code);
}

// Closes the file it holds when it goes.
struct OpenFile {
    int fd;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The whole of a regular file of at most kMaxBytes. It is opened without waiting, so a FIFO
// (which would wait for a writer) or a device is refused rather than read for ever.
bool readWhole(const std::string& path, QByteArray* text, std::string* error)
{
    const OpenFile file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    const int fd = file.fd;
    if (fd < 0)
        return *error = "cannot open " + path + ": " + systemError(errno), false;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return *error = "cannot read " + path + ": " + systemError(errno), false;
    if (!S_ISREG(st.st_mode))
        return *error = path + " is not a regular file", false;
    if (st.st_size > TaskListFile::kMaxBytes)
        return *error = path + " is larger than a task list may be (" +
                        std::to_string(TaskListFile::kMaxBytes / (1024 * 1024)) + " MB)",
               false;
    text->resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    while (got < text->size()) {
        const ssize_t n = ::read(fd, text->data() + got, static_cast<std::size_t>(text->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return *error = "cannot read " + path + ": " + systemError(errno), false;
        if (n == 0)
            break;
        got += n;
    }
    text->truncate(got);
    return true;
}

}  // namespace

QByteArray TaskListFile::toJson(const TaskList& tasks)
{
    QJsonArray array;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        array.append(taskObject(tasks.at(i)));
    QJsonObject root = tasks.keptMembers();
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["tasks"] = array;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool TaskListFile::fromJson(const QByteArray& text, std::vector<ConversionTask>* tasks, std::string* error,
                            QJsonObject* members)
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
    if (members) {
        *members = root;
        members->remove(QStringLiteral("tasks"));
    }
    return true;
}

bool TaskListFile::load(const QString& path, TaskList* list, std::string* error)
{
    std::vector<ConversionTask> read;
    QJsonObject members;
    if (!load(path, &read, error, &members))
        return false;
    TaskList loaded;
    for (ConversionTask& task : read)
        loaded.appendTask(std::move(task));
    loaded.setKeptMembers(std::move(members));
    *list = std::move(loaded);
    return true;
}

// The members that say what a task converts, as the file holds them (flags as true/false), one
// after another; built by hand, since long lists compare every task at every write.
QByteArray TaskListFile::identity(const ConversionTask& task)
{
    const TaskSettings none;
    const TaskSettings& s = task.settings ? *task.settings : none;
    QByteArray id;
    for (const std::string& source : task.sources)
        id.append(source.data(), static_cast<qsizetype>(source.size())).append('\0');
    id.append('\1').append(task.outputPath.data(), static_cast<qsizetype>(task.outputPath.size())).append('\0');
    const std::int32_t numbers[] = {static_cast<std::int32_t>(s.format), s.split != 0, s.splitSeconds, s.width,
                                    s.height, s.keepSourceSize != 0, s.videoOnly != 0, s.videoCompressor,
                                    s.audioCompressor, s.wmvProfile, s.mpegFrameRateIndex, s.vbr != 0,
                                    s.vbrQuality, s.videoBitRate, s.audioBitRate, s.videoCodec, s.quality, s.speed};
    for (std::int32_t number : numbers)
        id.append(QByteArray::number(number)).append(',');
    return id.append(QByteArray::number(double(s.frameRate), 'g', 9));
}

bool TaskListFile::save(const TaskList& tasks, const QString& path, std::string* error)
{
    QSaveFile file(path);
    const QByteArray text = toJson(tasks);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    // Qt tells a full disk by its kind of error alone.
    *error = file.error() == QFileDevice::ResourceError
                 ? WriteFailureReason::text(path.toStdString(), ENOSPC)
                 : "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
    return false;
}

bool TaskListFile::load(const QString& path, std::vector<ConversionTask>* tasks, std::string* error,
                        QJsonObject* members)
{
    QByteArray text;
    if (!readWhole(path.toStdString(), &text, error))
        return false;
    return fromJson(text, tasks, error, members);
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
