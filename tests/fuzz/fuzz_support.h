#pragma once
// What the fuzz targets share: how an input becomes texts, and the check
// that turns a broken property into a crash libFuzzer keeps as an artifact.

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/text.h"
#include "common/text_ids.h"
#include "launcher/ini_text.h"
#include "test_support.h"

[[noreturn]] void fuzzCheckFailed(const char* condition, const char* file, int line);

#define FUZZ_CHECK(condition) ((condition) ? void(0) : fuzzCheckFailed(#condition, __FILE__, __LINE__))

using FuzzBytes = std::span<const std::uint8_t>;

// The input cut at its first count - 1 bytes 0xFF (which UTF-8 never uses),
// each part decoded as UTF-8; parts the input lacks are empty. Seeds stay
// readable, and every UTF-16 unit is reachable (UTF-8 decoding keeps
// encoded surrogates).
TextList inputTexts(FuzzBytes input, std::size_t count);

// Little-endian pairs of bytes as UTF-16 units, any unit sequence included.
Text unitsText(FuzzBytes input);

// A settings file in the fake store made of the document's values; the first
// section of a name and the first key in it win, as in the document itself.
void putDocument(FakeSettingsStore& store, const Text& path, const IniTextDocument& document);
