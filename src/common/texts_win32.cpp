#include <atomic>

#include "common/localized_resource_win32.h"
#include "common/message_owner_win32.h"
#include "common/resource_bytes_win32.h"
#include "common/string_table.h"
#include "common/wide_win32.h"

namespace {

// Written once by the splash thread, read by every thread that reports.
std::atomic<HWND> messageOwner{nullptr};

} // namespace

void setMessageOwner(HWND owner) { messageOwner.store(owner); }

HWND currentMessageOwner() { return messageOwner.load(); }

std::uint16_t currentTextLanguage() { return textLanguageFor(GetUserDefaultUILanguage()); }

std::span<const std::uint8_t> findLocalizedResource(const wchar_t* type, const wchar_t* name) {
    const HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(self, type, name, currentTextLanguage());
    if (!found) return {};
    HGLOBAL loaded = LoadResource(self, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(self, found)};
}

Text LoadText(TextId id) {
    const auto address = stringTableAddress(static_cast<unsigned>(id));
    const auto block = findLocalizedResource(RT_STRING, MAKEINTRESOURCEW(address.block));
    return stringTableEntry(block, address.entry);
}

int ShowErrorBox(const Text& message) {
    return MessageBoxW(currentMessageOwner(), wide(message), nullptr, MB_OK | MB_ICONHAND);
}

void ReportError(TextId formatId, std::initializer_list<FormatArg> args) {
    ShowErrorBox(formatText(LoadText(formatId), args));
}
