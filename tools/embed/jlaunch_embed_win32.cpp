// jlaunch-embed: writes a settings text into a copy of the launcher, or
// prints the settings text a launcher carries.
#include <windows.h>

#include <string>
#include <vector>

#include "common/resource_bytes_win32.h"
#include "common/splitting.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "common/console_win32.h"
#include "launcher/embedded_settings.h"
#include "pack/text_file.h"
#include "resource_ids.h"

namespace {

constexpr const wchar_t* kResourceType = L"" EMBEDDED_SETTINGS_TYPE;
constexpr WORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

const char16_t* const kUsage =
    u"usage:\n"
    u"  jlaunch-embed write <launcher.exe> <settings.ini> <output.exe> [--upgrade-code <code>]\n"
    u"  jlaunch-embed read <launcher.exe> [--upgrade-code <code>]\n"
    u"  jlaunch-embed remove <launcher.exe>\n"
    u"The upgrade code must equal the \"Upgrade Code\" of the settings file beside the launcher.\n";

int fail(const Text& message, int code) {
    writeText(STD_ERROR_HANDLE, Text(u"jlaunch-embed: ") + message + u"\n");
    return code;
}

Text lastErrorText() { return Text::fromUtf8(" (error " + std::to_string(GetLastError()) + ")"); }

bool replaceResource(const Text& exePath, const std::vector<std::uint8_t>* block) {
    HANDLE update = BeginUpdateResourceW(wide(exePath), FALSE);
    if (!update) return false;
    const bool changed =
        UpdateResourceW(update, kResourceType, MAKEINTRESOURCEW(EMBEDDED_SETTINGS_NAME), kNeutralLanguage,
                        block ? const_cast<std::uint8_t*>(block->data()) : nullptr,
                        block ? static_cast<DWORD>(block->size()) : 0);
    return EndUpdateResourceW(update, !changed) && changed;
}

int writeSettings(const Text& launcher, const Text& settingsFile, const Text& output, const Text& upgradeCode) {
    std::string bytes;
    if (!readWholeFile(settingsFile, bytes)) return fail(Text(u"cannot read ") + settingsFile + lastErrorText(), 2);
    const Text text = withCrLfLineEnds(decodeTextFile(bytes));
    if (!CopyFileW(wide(launcher), wide(output), FALSE)) {
        return fail(Text(u"cannot copy ") + launcher + u" to " + output + lastErrorText(), 2);
    }
    const auto block = encipherSettings(text, upgradeCode);
    if (!replaceResource(output, &block)) {
        DeleteFileW(wide(output)); // never leave a half-made launcher behind
        return fail(Text(u"cannot write the settings into ") + output + lastErrorText(), 2);
    }
    return 0;
}

int readSettings(const Text& launcher, const Text& upgradeCode) {
    UniqueModule image(LoadLibraryExW(wide(launcher), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!image) return fail(Text(u"cannot open ") + launcher + lastErrorText(), 2);
    const auto block =
        resourceBytes(image.get(), kResourceType, MAKEINTRESOURCEW(EMBEDDED_SETTINGS_NAME), kNeutralLanguage);
    if (block.empty()) return fail(launcher + u" carries no settings text", 3);
    const auto text = decipherSettings(block, upgradeCode);
    if (!text) return fail(Text(u"the settings text of ") + launcher + u" does not open with this upgrade code", 4);
    writeText(STD_OUTPUT_HANDLE, *text);
    return 0;
}

int removeSettings(const Text& launcher) {
    if (!replaceResource(launcher, nullptr)) return fail(Text(u"cannot remove the settings text") + lastErrorText(), 2);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<Text> positional;
    Text upgradeCode;
    for (int i = 1; i < argc; ++i) {
        const Text argument = fromWide(argv[i]);
        if (argument == u"--upgrade-code" && i + 1 < argc) {
            upgradeCode = fromWide(argv[++i]);
        } else {
            positional.push_back(argument);
        }
    }
    const std::size_t count = positional.size();
    if (count == 4 && positional[0] == u"write") {
        return writeSettings(positional[1], positional[2], positional[3], upgradeCode);
    }
    if (count == 2 && positional[0] == u"read") return readSettings(positional[1], upgradeCode);
    if (count == 2 && positional[0] == u"remove") return removeSettings(positional[1]);
    writeText(STD_ERROR_HANDLE, Text(kUsage));
    return 1;
}
