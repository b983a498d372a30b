#pragma once
// A launch account as plain text for people, or as JSON for programs.

#include "explain/launch_account.h"

Text textReport(const LaunchAccount& account);
Text jsonReport(const LaunchAccount& account);

// 0 when the launch would go ahead (also by handing over or through the
// paired launcher), 1 when the launcher would end it with -1.
int reportExitCode(const LaunchAccount& account);
