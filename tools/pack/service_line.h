#pragma once
// The sc.exe command that registers a launcher as a Windows service, for
// jlaunch-pack --service-line.

#include "pack/outcome.h"
#include "common/text.h"

// `sc.exe create "<name>" binPath= "<exe>" start= auto`: the blank after each
// "=" is part of sc's syntax. The path is quoted again inside when it holds a
// blank, as the service control manager splits the command line it starts.
// Fails for a path that is not a full Windows path and for a name sc cannot take.
Outcome<Text> serviceCreateLine(const Text& executablePath, const Text& serviceName);
