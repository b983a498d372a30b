#pragma once
// Where a dialog goes to be centred on its owner or on the work area, kept inside the work area.

#include <optional>

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// owner: the owner's outer rectangle when it is visible and not minimised.
ScreenPoint centredPosition(const ScreenRect& dialog, const std::optional<ScreenRect>& owner,
                            const ScreenRect& workArea);
