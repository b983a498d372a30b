#include "common/centre_window.h"

namespace {

// Integer division that truncates toward zero, as the layout rules ask.
int half(int value) { return value / 2; }

int keptInside(int position, int size, int low, int high) {
    if (position + size > high) position = high - size;
    if (position < low) position = low;
    return position;
}

} // namespace

Point centredPosition(const Rect& dialog, const std::optional<Rect>& owner, const Rect& workArea) {
    const Rect& centre = owner ? *owner : workArea;
    const int x = half(centre.left + centre.right) - half(dialog.width());
    const int y = half(centre.top + centre.bottom) - half(dialog.height());
    return {keptInside(x, dialog.width(), workArea.left, workArea.right),
            keptInside(y, dialog.height(), workArea.top, workArea.bottom)};
}
