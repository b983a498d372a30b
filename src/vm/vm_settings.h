#pragma once
// The settings VM hosting reads, as written in the settings (not yet expanded),
// and the option list handed to the VM.

#include <string>
#include <vector>

#include "common/text.h"

struct VmSettings {
    Text libraryPath;     // "Library Path"
    Text systemPath;      // "System Path"
    Text classPath;       // "Class Path"
    Text embeddedJar;     // "Embedded Jar"
    Text vmParameters;    // "Virtual Machine Parameters"
    Text outputFile;      // "Output File"
    Text errorFile;       // "Error File"
    Text extraArguments;  // "Cmd"
    Text mainJar;         // "Main Jar"
    Text mainModule;      // "Main Module"
    Text modulePath;      // "Module Path"
};

// Option strings in the ANSI code page of the thread that built them.
using VmOptionList = std::vector<std::string>;
