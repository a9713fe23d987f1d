// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the maker can be reached: its web page, its system-requirements page and its support
// mailbox.
namespace MakerAddresses {

inline const QString kWebPage = QStringLiteral("https://kestrune.example/");
inline const QString kRequirementsPage = QStringLiteral("https://kestrune.example/marvane/requirements.html");
inline const QString kSupportMail = QStringLiteral("mailto:support@kestrune.example");

}  // namespace MakerAddresses
