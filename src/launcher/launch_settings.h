#pragma once
// The settings a launch decides by before the run phase, decoded, with their
// start values. The run phase reads its own (VmSettings, SplashSettings).

#include "common/text.h"
#include "launcher/restart_rules.h"
#include "launcher/service_settings.h"
#include "runtime/runtime_constraints.h"

struct LaunchSettings {
    Text productCode;
    Text upgradeCode;
    Text productName;
    bool isService = false;
    bool failureCheck = false;
    bool overrideWorkingDir = false;
    bool pairReturnCode = false;
    Text pairProduct;
    Text jrePath;
    RuntimeConstraints runtime;
    Text mainClass;
    Text appUserModelId;
    RestartExitCodes restartExitCodes;
    ServiceStopSettings serviceStop;  // used when the service control manager started the launch
};
