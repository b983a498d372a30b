#include "common/centre_window_win32.h"

#include "common/centre_window.h"

namespace {

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

void CentreWindow(HWND dialog) {
    std::optional<Rect> ownerRect;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    RECT r{};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner) && GetWindowRect(owner, &r)) ownerRect = toRect(r);

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dialog, &r);
    const Point at = centredPosition(toRect(r), ownerRect, toRect(work));
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
