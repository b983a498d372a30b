#include "pack/version_record.h"

namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedInfoVersion = 0x00010000;
constexpr std::uint32_t kFlagsMask = 0x3F;
constexpr std::uint32_t kWindowsNt32 = 0x00040004;
constexpr std::uint32_t kApplication = 1;
constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint16_t kUnicodeCodePage = 1200;

enum class ValueKind : std::uint16_t { Binary = 0, Text = 1 };

// One block of the record: its length, the length of its value (in words
// for text, bytes otherwise), its kind, its key, the value and the child
// blocks, each starting on a 32-bit boundary.
Bytes block(std::u16string_view key, ValueKind kind, ByteView value, std::uint16_t valueLength,
            const std::vector<Bytes>& children = {}) {
    Bytes out;
    append16(out, 0);
    append16(out, valueLength);
    append16(out, static_cast<std::uint16_t>(kind));
    for (char16_t unit : key) append16(out, unit);
    append16(out, 0);
    padTo(out, 4);
    out.insert(out.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        padTo(out, 4);
        out.insert(out.end(), child.begin(), child.end());
    }
    put16(out, 0, static_cast<std::uint16_t>(out.size()));
    return out;
}

Bytes textBlock(const std::u16string& name, const std::u16string& text) {
    Bytes value;
    for (char16_t unit : text) append16(value, unit);
    append16(value, 0);
    return block(name, ValueKind::Text, value, static_cast<std::uint16_t>(text.size() + 1));
}

void appendVersion(Bytes& out, const VersionNumber& v) {
    append32(out, static_cast<std::uint32_t>(v[0] << 16 | v[1]));
    append32(out, static_cast<std::uint32_t>(v[2] << 16 | v[3]));
}

Bytes fixedInfo(const VersionRecord& record) {
    Bytes info;
    append32(info, kFixedInfoSignature);
    append32(info, kFixedInfoVersion);
    appendVersion(info, record.fileVersion);
    appendVersion(info, record.productVersion);
    for (std::uint32_t field : {kFlagsMask, 0u, kWindowsNt32, kApplication, 0u, 0u, 0u}) append32(info, field);
    return info;
}

} // namespace

std::optional<VersionNumber> parseVersionNumber(std::u16string_view text) {
    VersionNumber number{};
    std::size_t part = 0;
    std::uint32_t value = 0;
    bool digits = false;
    for (char16_t c : text) {
        if (c == u'.' && digits && part < 3) {
            number[part++] = static_cast<std::uint16_t>(value);
            value = 0;
            digits = false;
        } else if (c >= u'0' && c <= u'9' && (value = value * 10 + (c - u'0')) <= 0xFFFF) {
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    number[part] = static_cast<std::uint16_t>(value);
    return number;
}

Bytes buildVersionRecord(const VersionRecord& record) {
    std::vector<Bytes> strings;
    for (const auto& [name, text] : record.strings) strings.push_back(textBlock(name, text));
    const Bytes table = block(u"040904B0", ValueKind::Text, {}, 0, strings);
    const Bytes translation{kUsEnglish & 0xFF, kUsEnglish >> 8, kUnicodeCodePage & 0xFF, kUnicodeCodePage >> 8};
    const Bytes languages = block(u"Translation", ValueKind::Binary, translation, 4);
    return block(u"VS_VERSION_INFO", ValueKind::Binary, fixedInfo(record), 52,
                 {block(u"StringFileInfo", ValueKind::Text, {}, 0, {table}),
                  block(u"VarFileInfo", ValueKind::Text, {}, 0, {languages})});
}
