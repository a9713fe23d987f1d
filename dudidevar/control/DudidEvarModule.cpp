// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include "dudidevar/control/DudidEvarControl.h"
#include "engine/ControlClassRegistry.h"

// The module's registration entry: makes the control's class known to the process.
extern "C" __attribute__((visibility("default"))) long DllRegisterServer()
{
    ControlClassRegistry::instance().registerClass(
        kDudidEvarClassId, [](QWidget* parent) -> std::unique_ptr<IConversionControl> {
            return std::make_unique<DudidEvarControl>(parent);
        });
    return 0;
}
