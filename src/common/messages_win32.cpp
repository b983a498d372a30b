#include "common/messages_win32.h"

#include <atomic>

#include "common/localized_resource_win32.h"
#include "common/message_owner_win32.h"
#include "common/string_table.h"
#include "common/wide_win32.h"

namespace {

// Written once by the splash thread, read by every thread that reports.
std::atomic<HWND> messageOwner{nullptr};

} // namespace

void setMessageOwner(HWND owner) { messageOwner.store(owner); }

HWND currentMessageOwner() { return messageOwner.load(); }

// Asked per lookup from the user's UI language rather than taken from the
// calling thread: resource lookup follows the thread's UI language on Windows
// and the thread locale under Wine, and an explicit language gives the same
// answer on every thread.
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

Text WindowsMessages::text(TextId id) const {
    const auto address = stringTableAddress(static_cast<unsigned>(id));
    const auto block = findLocalizedResource(RT_STRING, MAKEINTRESOURCEW(address.block));
    return stringTableEntry(block, address.entry);
}

void WindowsMessages::showError(const Text& message) {
    MessageBoxW(currentMessageOwner(), wide(message), nullptr, MB_OK | MB_ICONHAND);
}
