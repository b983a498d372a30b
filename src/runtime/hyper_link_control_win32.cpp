#include "runtime/hyper_link_control_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <string_view>

#include "common/wide_win32.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;

// A pointing hand, 32 x 32, its hot spot at the fingertip (5, 0): '#' black,
// 'o' white, anything else transparent.
constexpr POINT kHandHotSpot{5, 0};
constexpr std::array<std::string_view, 22> kHandPicture = {
    "     ##",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo###",
    "    #oo#oo###",
    "    #oo#oo#oo##",
    "    #oo#oo#oo#o#",
    " ## #oo#oo#oo#o#",
    "#oo##oooooooooo#",
    "#ooo#oooooooooo#",
    " #ooooooooooooo#",
    "  #oooooooooooo#",
    "  #oooooooooooo#",
    "   #ooooooooooo#",
    "   #ooooooooooo#",
    "    #oooooooooo#",
    "    #oooooooooo#",
    "     #ooooooooo#",
    "     #ooooooooo#",
    "     ###########",
};

UniqueCursor createHandCursor() {
    constexpr int kSide = 32;
    constexpr int kRowBytes = kSide / 8;
    std::array<BYTE, kSide * kRowBytes> andPlane;
    std::array<BYTE, kSide * kRowBytes> xorPlane{};
    andPlane.fill(0xFF);
    for (std::size_t row = 0; row < kHandPicture.size(); ++row) {
        for (std::size_t column = 0; column < kHandPicture[row].size(); ++column) {
            const char pixel = kHandPicture[row][column];
            if (pixel != '#' && pixel != 'o') continue;
            const std::size_t byte = row * kRowBytes + column / 8;
            const auto bit = static_cast<BYTE>(0x80 >> (column % 8));
            andPlane[byte] &= static_cast<BYTE>(~bit);
            if (pixel == 'o') xorPlane[byte] |= bit;
        }
    }
    return UniqueCursor(CreateCursor(GetModuleHandleW(nullptr), kHandHotSpot.x, kHandHotSpot.y, kSide, kSide,
                                     andPlane.data(), xorPlane.data()));
}

std::optional<Rgb> readColour(HKEY key, const wchar_t* name) {
    std::array<std::uint8_t, kMaxAnchorColourBytes> bytes{};
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD type = 0;
    // A longer value does not fit (ERROR_MORE_DATA) and counts as malformed.
    if (RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    return anchorColour(type, std::span(bytes.data(), size));
}

COLORREF colourRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

LabelAlignment alignmentOf(HWND control) {
    switch (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) {
    case SS_CENTER:
        return LabelAlignment::Centre;
    case SS_RIGHT:
        return LabelAlignment::Right;
    default:
        return LabelAlignment::Left;
    }
}

UINT drawTextAlignment(LabelAlignment alignment) {
    switch (alignment) {
    case LabelAlignment::Centre:
        return DT_CENTER;
    case LabelAlignment::Right:
        return DT_RIGHT;
    default:
        return DT_LEFT;
    }
}

bool isEnterKeyDown(LPARAM queried) {
    const auto* message = reinterpret_cast<const MSG*>(queried);
    return message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN;
}

} // namespace

HyperLinkControl::HyperLinkControl(HWND control, Text label, Text target)
    : control_(control), label_(std::move(label)), target_(std::move(target)) {
    SetWindowLongW(control_, GWL_STYLE, GetWindowLongW(control_, GWL_STYLE) | SS_NOTIFY);
    makeLinkFont(reinterpret_cast<HFONT>(SendMessageW(control_, WM_GETFONT, 0, 0)));
    handCursor_ = createHandCursor();
    readColours();
    measureLabel();
    addTooltip();
    attached_ = SetWindowSubclass(control_, procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void HyperLinkControl::makeLinkFont(HFONT baseFont) {
    LOGFONTW font{};
    if (!baseFont || !GetObjectW(baseFont, sizeof font, &font)) {
        SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
    }
    font.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&font));
}

void HyperLinkControl::addTooltip() {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(control_), nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_) return;
    TOOLINFOW tool = labelTool();
    tool.lpszText = const_cast<wchar_t*>(wide(target_));
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
}

TOOLINFOW HyperLinkControl::labelTool() const {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = control_;
    tool.uId = kToolId;
    tool.rect = labelArea_;
    return tool;
}

void HyperLinkControl::readColours() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    const UniqueRegistryKey settings(key);
    linkColour_ = readColour(key, L"Anchor Color").value_or(kDefaultLinkColour);
    visitedColour_ = readColour(key, L"Anchor Color Visited").value_or(kDefaultVisitedColour);
}

void HyperLinkControl::measureLabel() {
    RECT client{};
    GetClientRect(control_, &client);
    RECT measured = client;
    const HDC dc = GetDC(control_);
    const HGDIOBJ previous = SelectObject(dc, linkFont_.get());
    DrawTextW(dc, wide(label_), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
    SelectObject(dc, previous);
    ReleaseDC(control_, dc);

    const Size label{measured.right - measured.left, measured.bottom - measured.top};
    const Rect area = labelArea({client.left, client.top, client.right, client.bottom}, label, alignmentOf(control_));
    labelArea_ = {area.left, area.top, area.right, area.bottom};
    if (!tooltip_) return;
    TOOLINFOW tool = labelTool();
    SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperLinkControl::paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(control_, &paint);
    RECT client{};
    GetClientRect(control_, &client);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control_), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(control_)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !IsWindowEnabled(control_) ? GetSysColor(COLOR_GRAYTEXT)
                     : visited_                 ? colourRef(visitedColour_)
                                                : colourRef(linkColour_));
    const HGDIOBJ previous = SelectObject(dc, linkFont_.get());
    DrawTextW(dc, wide(label_), -1, &client, DT_WORDBREAK | drawTextAlignment(alignmentOf(control_)));
    SelectObject(dc, previous);
    if (GetFocus() == control_) DrawFocusRect(dc, &labelArea_);
    EndPaint(control_, &paint);
}

bool HyperLinkControl::overLabel(LPARAM clientPoint) const {
    const POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    return PtInRect(&labelArea_, point);
}

void HyperLinkControl::open() {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetParent(control_), L"open", wide(target_), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) return;
    visited_ = true;
    InvalidateRect(control_, nullptr, TRUE);
}

void HyperLinkControl::detach() {
    if (attached_) RemoveWindowSubclass(control_, procedure, kSubclassId);
    attached_ = false;
    tooltip_.reset();
    linkFont_.reset();
    handCursor_.reset();
}

LRESULT CALLBACK HyperLinkControl::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        reinterpret_cast<HyperLinkControl*>(self)->detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<HyperLinkControl*>(self)->handle(message, wParam, lParam);
}

LRESULT HyperLinkControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && tooltip_) {
        MSG relayed{control_, message, wParam, lParam, 0, {}};
        SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETCURSOR: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(control_, &cursor);
        if (LOWORD(lParam) == HTCLIENT && PtInRect(&labelArea_, cursor) && handCursor_) {
            SetCursor(handCursor_.get());
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (overLabel(lParam)) {
            SetFocus(control_);
            SetCapture(control_);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == control_) {
            ReleaseCapture();
            if (overLabel(lParam)) open();
        }
        return 0;
    case WM_GETDLGCODE:
        // Enter would otherwise press the dialog's default button.
        return DefSubclassProc(control_, message, wParam, lParam) | DLGC_WANTCHARS |
               (isEnterKeyDown(lParam) ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN: {
        const bool repeated = lParam & (1 << 30);
        if ((wParam == VK_RETURN || wParam == VK_SPACE) && !repeated) open();
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(control_, nullptr, TRUE);
        break;
    case WM_SIZE:
        measureLabel();
        break;
    case WM_SETFONT:
        makeLinkFont(reinterpret_cast<HFONT>(wParam));
        measureLabel();
        break;
    default:
        break;
    }
    return DefSubclassProc(control_, message, wParam, lParam);
}
