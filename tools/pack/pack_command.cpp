#include "pack/pack_command.h"

#include <string_view>

#include "pack/launcher_pack.h"
#include "pack/manifest_level.h"
#include "pack/pack_request.h"
#include "pack/service_line.h"
#include "pack/text_file.h"
#include "pack/tool_io.h"

namespace {

constexpr int kPacked = 0;
constexpr int kUsageProblem = 1;
constexpr int kNotPacked = 2;

int fail(const std::string& message, int code = kNotPacked) {
    writeLine(Stream::Error, Text::fromUtf8("jlaunch-pack: " + message));
    return code;
}

std::string_view asChars(const Bytes& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

Outcome<Bytes> readInput(const Text& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return Outcome<Bytes>::failure("cannot read " + path.toUtf8() + ": " + bytes.error());
    return bytes;
}

Outcome<PackRequest> withOwnSettings(PackRequest request) {
    if (!request.configFile) return request;
    const Text file = *request.configFile;
    const auto bytes = readInput(file);
    if (!bytes) return Outcome<PackRequest>::failure(bytes.error());
    auto merged = withSettingsFile(std::move(request), decodeTextFile(asChars(*bytes)), folderWithSeparatorOf(file));
    if (!merged) return Outcome<PackRequest>::failure(file.toUtf8() + ": " + merged.error());
    return merged;
}

Outcome<PackInputs> packInputs(const PackRequest& request) {
    using Failure = Outcome<PackInputs>;
    PackInputs inputs;
    if (const Text* icon = request.value("icon")) {
        const auto bytes = readInput(*icon);
        if (!bytes) return Failure::failure(bytes.error());
        auto images = readIconFile(*bytes);
        if (!images) return Failure::failure(icon->toUtf8() + ": " + images.error());
        inputs.icon = std::move(*images);
    }
    if (const Text* settings = request.value("settings")) {
        const auto bytes = readInput(*settings);
        if (!bytes) return Failure::failure(bytes.error());
        inputs.settingsText = decodeTextFile(asChars(*bytes));
    }
    if (const Text* code = request.value("upgrade-code")) {
        if (!inputs.settingsText) return Failure::failure("an upgrade code is used only with a settings text (--settings)");
        inputs.upgradeCode = *code;
    }
    if (const Text* level = request.value("execution-level")) {
        if (!isExecutionLevel(level->toUtf8())) {
            return Failure::failure("the execution level must be asInvoker, highestAvailable or requireAdministrator");
        }
        inputs.executionLevel = level->toUtf8();
    }
    auto version = versionRecordOf(request);
    if (!version) return Failure::failure(version.error());
    inputs.version = std::move(*version);
    return inputs;
}

int printServiceLine(const TextList& arguments) {
    if (arguments.size() != 3) {
        writeLine(Stream::Error, Text(kPackUsage));
        return fail("--service-line takes the service's executable and the service's name", kUsageProblem);
    }
    const auto line = serviceCreateLine(arguments[1], arguments[2]);
    if (!line) return fail(line.error(), kUsageProblem);
    writeLine(Stream::Output, *line);
    return kPacked;
}

} // namespace

int runPackCommand(const TextList& arguments) {
    if (arguments.size() == 1 && (arguments[0] == u"--help" || arguments[0] == u"/?")) {
        writeLine(Stream::Output, Text(kPackUsage));
        return kPacked;
    }
    if (!arguments.empty() && arguments[0] == u"--service-line") return printServiceLine(arguments);
    auto request = parsePackCommandLine(arguments);
    if (!request) {
        writeLine(Stream::Error, Text(kPackUsage));
        return fail(request.error(), kUsageProblem);
    }
    request = withOwnSettings(std::move(*request));
    if (!request) return fail(request.error());
    const auto inputs = packInputs(*request);
    if (!inputs) return fail(inputs.error());
    const auto launcher = readInput(request->launcher);
    if (!launcher) return fail(launcher.error());
    const auto packed = packLauncher(*launcher, *inputs);
    if (!packed) return fail(request->launcher.toUtf8() + ": " + packed.error());
    const std::string reason = replaceFile(request->output, *packed);
    if (!reason.empty()) return fail("cannot write " + request->output.toUtf8() + ": " + reason);
    return kPacked;
}
