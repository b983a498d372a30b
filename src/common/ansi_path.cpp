#include "common/ansi_path.h"

namespace {

// Paths of this length or more need the long-path support that not every
// reader of a narrow path has.
constexpr std::size_t kMaxPath = 260;

} // namespace

std::optional<Text> ansiReadablePath(const Text& path, const PathNames& names) {
    const bool fits = names.fitsAnsiCodePage(path);
    if (fits && path.length() < kMaxPath) return path;
    if (auto shortPath = names.shortForm(path); shortPath && names.fitsAnsiCodePage(*shortPath)) return shortPath;
    if (fits) return path;
    return std::nullopt;
}

AnsiReadablePathList ansiReadablePathList(const Text& list, const PathNames& names) {
    AnsiReadablePathList result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.findFirst(u';', start).value_or(list.length());
        const Text entry = list.mid(start, end - start);
        const std::optional<Text> readable =
            entry.empty() ? std::optional<Text>(entry) : ansiReadablePath(entry, names);
        if (!readable && result.unreadableEntry.empty()) result.unreadableEntry = entry;
        result.list += readable.value_or(entry);
        if (end == list.length()) return result;
        result.list += u';';
        start = end + 1;
    }
}
