#pragma once
// Where a dialog goes to be centred on its owner or on the work area, kept inside the work area.

#include <optional>

#include "common/geometry.h"

// owner: the owner's outer rectangle when it is visible and not minimised.
Point centredPosition(const Rect& dialog, const std::optional<Rect>& owner, const Rect& workArea);
