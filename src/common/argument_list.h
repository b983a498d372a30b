#pragma once
// The arguments for the Java main method (and for a hand-over to a running instance).

#include <string_view>

#include "common/platform.h"
#include "common/text.h"

using ArgumentList = TextList;

// The process command line, trimmed and split, without the program path.
ArgumentList argumentsFromCommandLine(const Text& commandLine);

// Whether an argument equals the text exactly, with case.
bool hasArgument(const ArgumentList& arguments, std::u16string_view text);

// "-nosplash" or "/nosplash", exactly, among the arguments: no splash is shown.
bool hasNoSplashSwitch(const ArgumentList& arguments);

// "Cmd": expanded first, then split; empty tokens are dropped.
void appendExtraArguments(ArgumentList& arguments, const Text& extraArguments, const Environment& environment);
