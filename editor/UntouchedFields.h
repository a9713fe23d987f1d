// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tasks/TaskSettings.h"

// An edited task keeps what the user did not change: a field that OK would write with the
// value the editor showed at opening keeps the record's stored value, so a value the controls
// cannot show (a size or rate outside the lists, a compressor the control no longer offers)
// survives an OK without a change.
namespace UntouchedFields {

// written: the record as OK writes it; shownAtOpening: as OK would have written it right after
// opening; stored: the record as it was loaded.
void keepStored(TaskSettings& written, const TaskSettings& shownAtOpening, const TaskSettings& stored);

}  // namespace UntouchedFields
