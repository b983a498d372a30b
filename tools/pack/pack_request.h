#pragma once
// What one run of jlaunch-pack is asked for, from its command line and from
// its own settings file (INI, with sections "Pack" and "Version"). A value
// on the command line overrides the file's.

#include <map>
#include <optional>
#include <string>

#include "common/text.h"
#include "pack/outcome.h"
#include "pack/version_record.h"

struct PackRequest {
    Text launcher;
    Text output;
    std::optional<Text> configFile;
    std::map<std::string, Text> values; // by option name without dashes: "icon", "file-version", ...

    const Text* value(const std::string& option) const;
};

extern const char16_t* const kPackUsage;

// Arguments after the program name; fails with the reason (usage problems).
Outcome<PackRequest> parsePackCommandLine(const TextList& arguments);

// Adds the values of the tool's settings file that the command line left
// open. Relative file names in it are taken from the file's own folder.
Outcome<PackRequest> withSettingsFile(PackRequest request, const Text& fileText, const Text& fileFolder);

// The version record the request asks for, nothing when it names no
// version field, or why the fields do not make one.
Outcome<std::optional<VersionRecord>> versionRecordOf(const PackRequest& request);

// The folder part of a path with its final separator, "/" or "\\" ("" when it has none), and
// a relative path taken from such a folder.
Text folderWithSeparatorOf(const Text& path);
Text resolvedPath(const Text& folder, const Text& path);
