// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

// One entry of a drop-down menu; command 0 is a separator.
struct MenuItem {
    int command = 0;
    QString text;
    bool isSeparator() const { return command == 0; }
};

// The entries of a menu resource's first (and only) submenu, in order.
using MenuResource = std::vector<MenuItem>;
