#pragma once

#include <QString>

// Open-file filters written "description|pattern;pattern|...||" become Qt's
// "description (pattern pattern);;..." form.
namespace FileFilter {

QString toQt(const QString& filter);

// The filter for source videos, used wherever one source file is picked.
extern const char* const kSourceVideoFilter;

}  // namespace FileFilter
