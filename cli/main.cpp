// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <stdlib.h>

#include "cli/CliCommand.h"
#include "cli/CliHelp.h"
#include "cli/Interrupt.h"
#include "dudidevar/control/LibraryLog.h"
#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

namespace {

// Takes --verbose out of the arguments (before a "--", which ends the options) and tells
// whether it was there.
bool takeVerbose(std::vector<std::string>& args)
{
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    const auto kept = std::remove(args.begin(), optionsEnd, "--verbose");
    const bool found = kept != optionsEnd;
    args.erase(kept, optionsEnd);
    return found;
}

// The AV1 encoder writes its own banner to standard error unless its log level says otherwise;
// its errors still show, and a level the user set is kept.
void quietenTheAv1Encoder()
{
    ::setenv("SVT_LOG", "1", 0);
}

}  // namespace

// The headless companion: loads the conversion control as the application does and runs one
// command with it.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    // The media libraries' own messages reach the terminal only when asked for; the control
    // reads this when it is made.
    if (takeVerbose(args))
        ::setenv(kLibraryLogVariable, "1", 1);
    else
        quietenTheAv1Encoder();
    if (const std::optional<int> answered = CliHelp::answer(args))
        return *answered;
    const CliCommand* command = cliCommandNamed(args.front());
    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "cannot load the conversion control: %s\n", error.c_str());
        return 3;
    }
    CDudidEvar control;
    if (!control.Create(kDudidEvarClassId, nullptr)) {
        std::fprintf(stderr, "the conversion control cannot be created\n");
        return 3;
    }
    Interrupt::install();
    const int status = command->run(control, std::vector<std::string>(args.begin() + 1, args.end()));
    return Interrupt::requested() ? 130 : status;
}
