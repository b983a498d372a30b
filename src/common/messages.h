#pragma once
// The launcher's texts and its one way of telling the user of a failure.
// Portable code reaches both through this interface: the Windows launcher
// shows an error box, the explain tool records the message, tests keep it.
//
// Language rule: German texts for a German user interface language, English
// for every other.

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

class Messages {
public:
    virtual ~Messages() = default;
    // The string-table text in the user's language; empty when it is missing.
    virtual Text text(TextId id) const = 0;
    // Tells the user of a failure: one error box, or wherever this host puts messages.
    virtual void showError(const Text& message) = 0;
    // The format text filled in with the arguments, then shown.
    virtual void report(TextId formatId, std::initializer_list<FormatArg> args) {
        showError(formatText(text(formatId), args));
    }
};
