#include "platform/DroppedFiles.h"

#include <QFileInfo>
#include <array>

namespace {

// The suffixes of the source filter, then the common ones the control also reads.
constexpr std::array<const char*, 15> kVideoSuffixes{"mpg", "mpeg", "avi", "asf", "wmv",  "mp4",  "mkv", "mov",
                                                      "m2ts", "ts",  "vob", "flv", "webm", "m4v", "3gp"};

}  // namespace

DroppedFiles::DroppedFiles(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            ignored_ << url.toDisplayString();
            continue;
        }
        const QString path = url.toLocalFile();
        if (hasVideoSuffix(path) && QFileInfo(path).isFile())
            videos_ << path;
        else
            ignored_ << path;
    }
}

bool DroppedFiles::hasVideoSuffix(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const char* video : kVideoSuffixes) {
        if (suffix.compare(QLatin1String(video), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
