#include "pack/pack_request.h"

#include <algorithm>

#include "common/splitting.h"
#include "launcher/ini_text.h"

namespace {

struct PackOption {
    const char* name;                // on the command line, after "--"
    const char16_t* section;         // in the settings file
    const char16_t* key;
    const char16_t* versionString;   // the version record's string it sets, if any
    bool isFile;
};

// Version fields in the order the record lists them.
constexpr PackOption kOptions[] = {
    {"icon", u"Pack", u"Icon", nullptr, true},
    {"settings", u"Pack", u"Settings", nullptr, true},
    {"upgrade-code", u"Pack", u"Upgrade Code", nullptr, false},
    {"execution-level", u"Pack", u"Execution Level", nullptr, false},
    {"company-name", u"Version", u"Company Name", u"CompanyName", false},
    {"file-description", u"Version", u"File Description", u"FileDescription", false},
    {"file-version", u"Version", u"File Version", u"FileVersion", false},
    {"internal-name", u"Version", u"Internal Name", u"InternalName", false},
    {"legal-copyright", u"Version", u"Legal Copyright", u"LegalCopyright", false},
    {"original-filename", u"Version", u"Original Filename", u"OriginalFilename", false},
    {"product-name", u"Version", u"Product Name", u"ProductName", false},
    {"product-version", u"Version", u"Product Version", u"ProductVersion", false},
};

const PackOption* optionNamed(const std::string& name) {
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const PackOption& o) { return name == o.name; });
    return found == std::end(kOptions) ? nullptr : found;
}

const PackOption* optionAt(const Text& section, const Text& key) {
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const PackOption& o) {
        return section.equalsIgnoreCase(o.section) && key.equalsIgnoreCase(o.key);
    });
    return found == std::end(kOptions) ? nullptr : found;
}

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

std::optional<std::size_t> lastSeparator(const Text& path) {
    for (std::size_t i = path.length(); i > 0; --i) {
        if (isSeparator(path[i - 1])) return i - 1;
    }
    return std::nullopt;
}

Text fileName(const Text& path) {
    const auto separator = lastSeparator(path);
    return separator ? path.mid(*separator + 1) : path;
}

Text withoutExtension(const Text& name) {
    const auto dot = name.findLast(u'.');
    return dot && *dot > 0 ? name.left(*dot) : name;
}

// The text a version field gets when the request does not name it.
Text defaultVersionText(const PackRequest& request, const std::string& option) {
    const auto orEmpty = [&](const char* other) { return request.value(other) ? *request.value(other) : Text(); };
    if (option == "product-version") return orEmpty("file-version");
    if (option == "file-description") return orEmpty("product-name");
    if (option == "original-filename") return fileName(request.output);
    if (option == "internal-name") return withoutExtension(fileName(request.output));
    return {};
}

using VersionOutcome = Outcome<std::optional<VersionRecord>>;

} // namespace

const char16_t* const kPackUsage =
    u"usage: jlaunch-pack <launcher.exe> <output.exe> [options]\n"
    u"       jlaunch-pack --service-line <C:\\full\\path\\App.exe> <service name>\n"
    u"         prints the sc.exe line that registers App.exe as a Windows service\n"
    u"Writes a copy of the launcher with the application's icon, version record,\n"
    u"embedded settings text and execution level; what is not named is kept.\n"
    u"  --config <file.ini>           these options from a file: section [Pack] with Icon,\n"
    u"                                Settings, Upgrade Code, Execution Level; section\n"
    u"                                [Version] with the version fields by their names\n"
    u"  --icon <file.ico>             the application's icon, every image of the file\n"
    u"  --settings <file.ini>         the settings text to embed\n"
    u"  --upgrade-code <code>         the \"Upgrade Code\" of the settings file beside the exe\n"
    u"  --execution-level <level>     asInvoker, highestAvailable or requireAdministrator\n"
    u"  --file-version <1.2.3.4>      needed for a new version record, which may also name:\n"
    u"  --product-version <1.2.3.4>   (default: the file version)\n"
    u"  --product-name <text>\n"
    u"  --company-name <text>\n"
    u"  --file-description <text>     (default: the product name; Task Manager shows it)\n"
    u"  --legal-copyright <text>\n"
    u"  --original-filename <text>    (default: the output's file name)\n"
    u"  --internal-name <text>        (default: the output's name without extension)\n";

const Text* PackRequest::value(const std::string& option) const {
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

Outcome<PackRequest> parsePackCommandLine(const TextList& arguments) {
    PackRequest request;
    TextList positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u"--")) {
            positional.push_back(arguments[i]);
            continue;
        }
        const std::string name = arguments[i].mid(2).toUtf8();
        if (name != "config" && !optionNamed(name)) return Outcome<PackRequest>::failure("unknown option --" + name);
        if (i + 1 == arguments.size()) return Outcome<PackRequest>::failure("--" + name + " needs a value");
        const Text& value = arguments[++i];
        if (name == "config") {
            request.configFile = value;
        } else {
            request.values[name] = value;
        }
    }
    if (positional.size() != 2) return Outcome<PackRequest>::failure("name the launcher and the output file");
    request.launcher = positional[0];
    request.output = positional[1];
    return request;
}

Outcome<PackRequest> withSettingsFile(PackRequest request, const Text& fileText, const Text& fileFolder) {
    const IniTextDocument document = parseIniText(withCrLfLineEnds(fileText));
    for (const auto& section : document.sections()) {
        for (const auto& [key, value] : section.entries) {
            if (key.startsWith(u";")) continue; // a comment that holds "="
            const PackOption* option = optionAt(section.name, key);
            if (!option) {
                return Outcome<PackRequest>::failure("unknown setting \"" + key.toUtf8() + "\" in section [" +
                                                     section.name.toUtf8() + "]");
            }
            if (value.empty() || request.values.count(option->name)) continue;
            request.values[option->name] = option->isFile ? resolvedPath(fileFolder, value) : value;
        }
    }
    return request;
}

VersionOutcome versionRecordOf(const PackRequest& request) {
    const bool wanted = std::any_of(std::begin(kOptions), std::end(kOptions),
                                    [&](const PackOption& o) { return o.versionString && request.value(o.name); });
    if (!wanted) return std::optional<VersionRecord>();
    if (!request.value("file-version")) {
        return VersionOutcome::failure("a version record needs a file version (--file-version, or File Version in [Version])");
    }
    VersionRecord record;
    for (const PackOption& option : kOptions) {
        if (!option.versionString) continue;
        const Text* given = request.value(option.name);
        const Text text = given ? *given : defaultVersionText(request, option.name);
        if (text.empty()) continue;
        record.strings.emplace_back(option.versionString, text.units());
        const std::string_view name = option.name;
        if (name != "file-version" && name != "product-version") continue;
        const auto number = parseVersionNumber(text.units());
        if (!number) {
            return VersionOutcome::failure(std::string(name) + " \"" + text.toUtf8() + "\" is not a version number such as 1.2.3.4");
        }
        (name == "file-version" ? record.fileVersion : record.productVersion) = *number;
    }
    return std::optional<VersionRecord>(std::move(record));
}

Text folderWithSeparatorOf(const Text& path) {
    const auto separator = lastSeparator(path);
    return separator ? path.left(*separator + 1) : Text();
}

Text resolvedPath(const Text& folder, const Text& path) {
    const bool absolute = (!path.empty() && isSeparator(path[0])) || (path.length() >= 2 && path[1] == u':');
    return absolute ? path : folder + path;
}
