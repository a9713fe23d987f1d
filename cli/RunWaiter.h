// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <string>

class CDudidEvar;

// Waits, running the event loop, for the end of the control's current run; shows its
// progress on a terminal.
class RunWaiter : public QObject {
    Q_OBJECT
public:
    explicit RunWaiter(CDudidEvar& control);

    // True when the run completed; false when it failed (the reason goes to stderr).
    bool wait(const std::string& label);

private:
    CDudidEvar& control_;
};
