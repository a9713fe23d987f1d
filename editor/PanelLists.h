// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;

// Lists that more than one settings panel fills the same way.
namespace PanelLists {

// The 64 picture sizes as decimal text, then the entry at the position selected (-1: none).
void fillSizes(QComboBox* list, int selected);

}  // namespace PanelLists
