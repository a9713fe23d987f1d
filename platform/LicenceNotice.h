// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The licence as both programs' --version states it.
inline constexpr const char* kLicenceNotice =
    "Copyright (C) 2026 the Marvane developers.\n"
    "License GPLv3+: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";
