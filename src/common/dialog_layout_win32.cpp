#include "common/dialog_layout_win32.h"

namespace {

// A scroll-bar size box aligned to the bottom right of the rectangle it is created over.
constexpr DWORD kSizeGripStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN |
                                 SBS_SIZEGRIP;

Rect rectInClient(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

Size sizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

void addStyles(HWND dialog) {
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) SetWindowLongW(dialog, GWL_STYLE, style | WS_CLIPCHILDREN);
    if (style & WS_CHILD) return;
    SetWindowLongW(dialog, GWL_EXSTYLE, GetWindowLongW(dialog, GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
    // The modal frame shows no icon; a dialog without a small one keeps it so.
    if (!SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)) SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
}

// A group box paints only its frame and leaves its inside to the dialog, which
// a clip-children dialog no longer paints under it unless the box is transparent.
void letDialogPaintInside(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const bool groupBox = lstrcmpiW(className, L"Button") == 0 &&
                          (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (groupBox) SetWindowLongW(control, GWL_EXSTYLE, GetWindowLongW(control, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

void addSizeGrip(HWND dialog, const RECT& client) {
    if (GetDlgItem(dialog, kSizeGripId)) return;
    CreateWindowExW(0, L"SCROLLBAR", nullptr, kSizeGripStyle, 0, 0, client.right, client.bottom, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSizeGripId)), GetModuleHandleW(nullptr), nullptr);
}

void layOut(HWND dialog, const DialogLayout& layout, Size client) {
    const bool redrawOff = IsWindowVisible(dialog);
    if (redrawOff) SendMessageW(dialog, WM_SETREDRAW, FALSE, 0);
    for (const AnchoredControl& control : layout.controls()) {
        const HWND window = GetDlgItem(dialog, control.controlId);
        if (!window) continue;
        const Rect r = layout.placed(control, rectInClient(dialog, window), client);
        if (control.flags & kAnchorRepaint) InvalidateRect(window, nullptr, TRUE);
        SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (redrawOff) SendMessageW(dialog, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

} // namespace

void initialiseDialogLayout(HWND dialog, DialogLayout& layout, std::span<const AnchorRule> rules) {
    addStyles(dialog);
    RECT client{}, outer{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &outer);
    layout.start(sizeOf(client), sizeOf(outer));
    addSizeGrip(dialog, client);
    const auto add = [&](int controlId, unsigned flags) {
        const HWND window = GetDlgItem(dialog, controlId);
        if (window) letDialogPaintInside(window);
        layout.add({controlId, flags, window ? rectInClient(dialog, window) : Rect{}});
    };
    add(kSizeGripId, kAnchorMoveX | kAnchorMoveY | kAnchorRepaint | kAnchorSizeGrip);
    for (const AnchorRule& rule : rules) add(rule.controlId, rule.flags);
}

bool handleDialogLayoutMessage(HWND dialog, const DialogLayout& layout, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) layOut(dialog, layout, {LOWORD(lParam), HIWORD(lParam)});
        return true;
    case WM_GETMINMAXINFO:
        if (const auto minimum = layout.minimumTrackingSize()) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {minimum->width, minimum->height};
        }
        return true;
    default:
        return false;
    }
}
