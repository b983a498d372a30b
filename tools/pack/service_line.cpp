#include "pack/service_line.h"

namespace {

// A drive and a backslash (C:\...), or a share (\\server\...).
bool isFullWindowsPath(const Text& path) {
    const bool drive = path.length() >= 3 && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
                       path[1] == u':' && path[2] == u'\\';
    return drive || path.startsWith(u"\\\\");
}

// The service control manager refuses names with slashes, and a quote cannot be passed through sc.
bool isServiceName(const Text& name) {
    if (name.empty() || name.length() > 256) return false;
    for (const char16_t c : name.units()) {
        if (c == u'/' || c == u'\\' || c == u'"' || c < 0x20) return false;
    }
    return true;
}

} // namespace

Outcome<Text> serviceCreateLine(const Text& executablePath, const Text& serviceName) {
    if (!isFullWindowsPath(executablePath) || executablePath.contains(u'"')) {
        return Outcome<Text>::failure("the service's executable needs a full Windows path (C:\\... or \\\\server\\...)");
    }
    if (!isServiceName(serviceName)) {
        return Outcome<Text>::failure("a service name has 1 to 256 characters and no /, \\ or \"");
    }
    const Text command = executablePath.contains(u' ') ? Text(u"\\\"") + executablePath + u"\\\"" : executablePath;
    return Text(u"sc.exe create \"") + serviceName + u"\" binPath= \"" + command + u"\" start= auto";
}
