#include "runtime/jvm_location.h"

#include <array>
#include <string_view>

namespace {

constexpr std::u16string_view kServerLocation = u"bin\\server\\jvm.dll";
constexpr std::array<std::u16string_view, 5> kSearchOrder = {
    u"bin\\client\\jvm.dll", u"bin\\classic\\jvm.dll", u"bin\\hotspot\\jvm.dll",
    kServerLocation,         u"bin\\jrockit\\jvm.dll",
};

} // namespace

JvmLibrary locateJvmLibrary(const Text& home, JvmType type, const FileProbe& files) {
    if (type == JvmType::Server || type == JvmType::FavorServer) {
        const Text server = home + kServerLocation;
        if (files.exists(server)) return {server, true};
        if (type == JvmType::Server) return {};
    }
    for (const auto location : kSearchOrder) {
        const Text candidate = home + location;
        if (files.exists(candidate)) return {candidate, location == kServerLocation};
    }
    return {};
}

bool isRuntimeFolder(const Text& folder, const FileProbe& files) {
    return files.exists(folder + u"bin\\java.dll");
}
