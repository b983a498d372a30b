#pragma once
// Every value decoded from the settings, with its start value.

#include "common/text.h"
#include "runtime/runtime_constraints.h"
#include "splash/splash_settings.h"

struct LaunchSettings {
    Text productCode;
    Text upgradeCode;
    Text productName;
    bool isService = false;
    bool singleInstance = false;
    bool failureCheck = false;
    bool overrideWorkingDir = false;
    bool pairReturnCode = false;
    bool embeddedJar = false;
    Text pairProduct;
    Text outputFile;
    Text errorFile;
    Text extraArguments;
    Text jrePath;
    RuntimeConstraints runtime;
    Text mainClass;
    Text systemPath;
    Text libraryPath;
    Text vmParameters;
    Text classPath;
    SplashSettings splash;  // read by the splash start itself
};
