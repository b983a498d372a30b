#pragma once
// The version record (VS_VERSIONINFO) Explorer and Task Manager show: the
// numeric file and product versions and the US English string table.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pack/bytes.h"

using VersionNumber = std::array<std::uint16_t, 4>;

struct VersionRecord {
    VersionNumber fileVersion{};
    VersionNumber productVersion{};
    // Name ("CompanyName", "FileVersion", ...) and text, in the order written.
    std::vector<std::pair<std::u16string, std::u16string>> strings;
};

// "1", "1.2", "1.2.3" or "1.2.3.4", each part a decimal number up to 65535.
std::optional<VersionNumber> parseVersionNumber(std::u16string_view text);

Bytes buildVersionRecord(const VersionRecord& record);
