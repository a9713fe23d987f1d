// SPDX-License-Identifier: GPL-3.0-or-later
// A module that loads but offers no registration entry.
extern "C" __attribute__((visibility("default"))) int SomethingElse()
{
    return 1;
}
