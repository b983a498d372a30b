#pragma once
// The launcher's texts and its one way of reporting a failure.
//
// Language rule: German texts for a German user interface language, English
// for every other. The language is decided per lookup from the user's UI
// language rather than from the calling thread, because resource lookup on
// Windows follows the thread's UI language and under Wine the thread locale;
// asking for an explicit language gives the same answer on every thread.

#include <cstdint>
#include <initializer_list>

#include "common/format.h"
#include "common/text.h"
#include "common/text_ids.h"

constexpr std::uint16_t kEnglishLanguage = 0x0409;
constexpr std::uint16_t kGermanLanguage = 0x0407;

// The resource language for a platform language id (primary language in the low 10 bits).
constexpr std::uint16_t textLanguageFor(std::uint16_t languageId) {
    constexpr std::uint16_t kPrimaryGerman = 0x07;
    return (languageId & 0x3FF) == kPrimaryGerman ? kGermanLanguage : kEnglishLanguage;
}

Text LoadText(TextId id);

// Shows an error box (no caption, one OK button, stop icon) owned by the
// message owner; returns the button pressed, or 0 when no box could be shown.
int ShowErrorBox(const Text& message);

// Loads the format text, fills in the arguments and shows the result.
void ReportError(TextId formatId, std::initializer_list<FormatArg> args);
