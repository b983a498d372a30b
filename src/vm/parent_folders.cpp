#include "vm/parent_folders.h"

namespace {

struct PathComponents {
    Text root;      // never created: C:, \\Server, \\?\C:, empty for \Logs, the first name of a relative path
    TextList rest;  // the folders below the root, then the file name
    bool unc = false;
};

TextList splitAtEveryBackslash(const Text& text) {
    TextList parts;
    std::size_t start = 0;
    for (auto slash = text.findFirst(u'\\'); slash; slash = text.findFirst(u'\\', start)) {
        parts.push_back(text.mid(start, *slash - start));
        start = *slash + 1;
    }
    parts.push_back(text.mid(start));
    return parts;
}

PathComponents splitComponents(const Text& path) {
    PathComponents parts;
    Text longFormPrefix;
    Text body = path;
    if (path.startsWith(u"\\\\?\\")) {
        longFormPrefix = path.left(4);
        body = path.mid(4);
    }
    parts.unc = longFormPrefix.empty() && body.startsWith(u"\\\\");
    const auto firstSlash = body.findFirst(u'\\', parts.unc ? 2 : 0);
    parts.root = longFormPrefix + (firstSlash ? body.left(*firstSlash) : body);
    if (firstSlash) parts.rest = splitAtEveryBackslash(body.mid(*firstSlash + 1));
    return parts;
}

bool isAbsolute(const Text& path) { return path.startsWith(u"\\") || path.contains(u':'); }

} // namespace

std::uint32_t ensureParentFolders(const Text& path, FolderOperations& folders) {
    if (isAbsolute(path) && folders.exists(path)) return 0;
    const PathComponents parts = splitComponents(path);
    Text current = parts.root;
    bool currentCreatedHere = false;
    std::uint32_t lastFailure = 0;
    for (std::size_t i = 0; i + 1 < parts.rest.size(); ++i) {
        const Text parent = current;
        const bool parentCreatedHere = currentCreatedHere;
        current += u'\\';
        current += parts.rest[i];
        const std::uint32_t error = folders.createFolder(current);
        currentCreatedHere = error == 0;
        if (error == 0 || error == kErrorAlreadyExists) continue;
        lastFailure = error;
        if (parts.unc) continue;
        // Take back the folder made just before, but never one that was
        // there already: only this walk's own empty folder is removed.
        if (i > 0 && parentCreatedHere) folders.removeFolder(parent);
        return error;
    }
    return lastFailure;
}
