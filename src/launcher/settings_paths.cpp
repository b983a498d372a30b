#include "launcher/settings_paths.h"

#include <string_view>

#include "common/path_parts.h"

namespace {

constexpr std::u16string_view kCharactersNotInFolderNames = u"\\?\"|><:/*";

Text withoutForbiddenCharacters(const Text& name) {
    std::u16string kept;
    for (const char16_t c : name.units()) {
        if (kCharactersNotInFolderNames.find(c) == std::u16string_view::npos) kept += c;
    }
    return Text(std::move(kept));
}

} // namespace

std::optional<Text> settingsFilePath(const Text& executablePath) {
    const auto dot = executablePath.findLast(u'.');
    if (!dot) return std::nullopt;
    return executablePath.left(*dot + 1) + u"ini";
}

Text userSettingsPath(const Text& executablePath, const Text& appData, const ProductIdentity& product,
                      const std::function<void(const Text&)>& makeFolder) {
    Text path = appData + u'\\' + withoutForbiddenCharacters(product.name);
    if (makeFolder) makeFolder(path);
    path += u'\\';
    path += product.code;
    if (makeFolder) makeFolder(path);

    Text fileName = fileNameOf(executablePath);
    if (const auto dot = fileName.findLast(u'.')) fileName = fileName.left(*dot);
    return path + u'\\' + fileName + u".ini";
}
