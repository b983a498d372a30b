#include "common/path_parts.h"

Text withoutLastComponents(Text path, int count) {
    for (int i = 0; i < count; ++i) {
        const auto slash = path.findLast(u'\\');
        if (!slash) break;
        path = path.left(*slash);
    }
    return path;
}

Text folderWithSlashOf(const Text& path) {
    const auto slash = path.findLast(u'\\');
    return slash ? path.left(*slash + 1) : Text();
}

Text fileNameOf(const Text& path) {
    const auto slash = path.findLast(u'\\');
    return slash ? path.mid(*slash + 1) : path;
}

Text withTrailingBackslash(Text path) {
    if (!path.endsWith(u"\\")) path += u'\\';
    return path;
}
