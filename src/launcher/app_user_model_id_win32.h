#pragma once
// Giving the process its taskbar identity.

#include <cstdint>

#include "common/text.h"

// 0, or the error Windows gave (an HRESULT, or the loader's error when the
// system has no such call).
std::int32_t setProcessAppUserModelId(const Text& id);
