#include "common/argument_list.h"

#include <algorithm>

#include "common/splitting.h"

ArgumentList argumentsFromCommandLine(const Text& commandLine) {
    ArgumentList arguments = splitCommandLine(trimmedWideSpace(commandLine));
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

bool hasArgument(const ArgumentList& arguments, std::u16string_view text) {
    return std::any_of(arguments.begin(), arguments.end(), [&](const Text& a) { return a == text; });
}

bool hasNoSplashSwitch(const ArgumentList& arguments) {
    return hasArgument(arguments, u"-nosplash") || hasArgument(arguments, u"/nosplash");
}

void appendExtraArguments(ArgumentList& arguments, const Text& extraArguments, const Environment& environment) {
    if (extraArguments.empty()) return;
    for (Text& token : splitCommandLine(environment.expand(extraArguments))) {
        if (!token.empty()) arguments.push_back(std::move(token));
    }
}
