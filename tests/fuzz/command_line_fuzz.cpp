// The command-line splitter, for the process command line and for "Cmd".

#include "common/argument_list.h"
#include "common/splitting.h"
#include "fuzz_support.h"

namespace {

// The tokens written back with the splitter's quoting rules: a token that is
// empty or holds a space goes in quotes, and such a token can hold no quote.
Text joined(const TextList& tokens) {
    Text line;
    for (const Text& token : tokens) {
        if (!line.empty()) line += u' ';
        FUZZ_CHECK(!token.startsWith(u"\""));
        if (token.empty() || token.contains(u' ')) {
            FUZZ_CHECK(!token.contains(u'"'));
            line += Text(u"\"") + token + u'"';
        } else {
            line += token;
        }
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text commandLine = inputTexts({data, size}, 1).front();
    const TextList tokens = splitCommandLine(commandLine);
    FUZZ_CHECK(splitCommandLine(joined(tokens)) == tokens);

    ArgumentList arguments = argumentsFromCommandLine(commandLine);
    const std::size_t fromCommandLine = arguments.size();
    FakeEnvironment environment;
    environment.variables[u"X"] = Text(u" \"a b\" ");
    appendExtraArguments(arguments, commandLine, environment);
    for (std::size_t i = fromCommandLine; i < arguments.size(); ++i) FUZZ_CHECK(!arguments[i].empty());
    return 0;
}
