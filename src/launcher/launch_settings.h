#pragma once
// Every value decoded from the settings, with its start value.

#include "common/text.h"
#include "runtime/java_version.h"
#include "runtime/jvm_type.h"
#include "splash/splash_settings.h"

struct RuntimeConstraints {
    JavaVersion minimumVersion;
    JavaVersion maximumVersion;
    TextList preferredVersions;
    JvmType jvmType = JvmType::Default;
    bool includeJdk = false;
    bool includeJre = false;
    bool favourKind = true;
    bool allowSun = true;
    bool favourSun = true;
    bool allowJRockit = false;
    bool favourJRockit = false;
    bool allowIbm = false;
    bool favourIbm = false;
};

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
