// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedControl.h"
#include "engine/ControlClassRegistry.h"

// A stand-in control module: registers a scripted control under the conversion control's id.
extern "C" __attribute__((visibility("default"))) long DllRegisterServer()
{
    ControlClassRegistry::instance().registerClass(kDudidEvarClassId, [](QWidget*) {
        ScriptedControl::Script script;
        script.durations["/v/a.avi"] = 12.5;
        return std::make_unique<ScriptedControl>(script);
    });
    return 0;
}
