#pragma once
// "App User Model ID": the explicit identity that groups the application's
// windows and its pinned shortcut on the taskbar.

#include <cstddef>

#include "common/text.h"

inline constexpr std::size_t kAppUserModelIdMaxLength = 128;

enum class AppUserModelIdProblem { None, TooLong, HasSpace };

// What Windows refuses in an identity, found before asking it.
AppUserModelIdProblem appUserModelIdProblem(const Text& id);
