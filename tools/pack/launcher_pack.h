#pragma once
// Branding a launcher executable: its icon, version record, embedded
// settings text and requested execution level, in one pure step from the
// bytes of the launcher to the bytes of the packed executable. Packing its
// own result again with the same inputs gives the same bytes.

#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "pack/icon_file.h"
#include "pack/outcome.h"
#include "pack/version_record.h"

struct PackInputs {
    std::optional<std::vector<IconImage>> icon; // becomes icon group 128
    std::optional<VersionRecord> version;
    std::optional<Text> settingsText; // enciphered with upgradeCode, as the launcher reads it
    Text upgradeCode;
    std::optional<std::string> executionLevel;
};

// Resources not named by the inputs are kept as they are.
Outcome<Bytes> packLauncher(ByteView launcher, const PackInputs& inputs);
