#include "common/dialog_layout.h"

void DialogLayout::start(Size client, Size outer) {
    controls_.clear();
    initialClient_ = client;
    minimum_ = outer;
}

Rect DialogLayout::placed(const AnchoredControl& control, const Rect& current, Size client) const {
    const int dx = client.width - initialClient_.width;
    const int dy = client.height - initialClient_.height;
    const Rect& initial = control.initial;
    Rect result = current;
    if (control.flags & kAnchorSizeX) result.right = initial.right + dx;
    if (control.flags & kAnchorMoveX) {
        result.left = initial.left + dx;
        result.right = initial.right + dx;
    }
    if (control.flags & kAnchorSizeY) result.bottom = initial.bottom + dy;
    if (control.flags & kAnchorMoveY) {
        result.top = initial.top + dy;
        result.bottom = initial.bottom + dy;
    }
    return result;
}
