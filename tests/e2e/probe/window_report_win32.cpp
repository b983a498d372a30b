#include "window_report_win32.h"

#include <tlhelp32.h>

#include <vector>

#include "json_out_win32.h"

std::wstring windowText(HWND window) {
    // WM_GETTEXT reaches edit controls of other processes, GetWindowTextW does not.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    text.resize(copied);
    return text;
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

RECT clientRectOf(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string describeControls(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::string out = "[";
    for (std::size_t i = 0; i < children.size(); ++i) {
        const HWND child = children[i];
        if (i) out += ",";
        out += "{\"id\":" + std::to_string(GetDlgCtrlID(child)) + ",\"class\":" + jsonString(windowClass(child)) +
               ",\"text\":" + jsonString(windowText(child)) +
               ",\"style\":" + std::to_string(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE))) +
               ",\"exstyle\":" + std::to_string(static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE))) +
               ",\"visible\":" + (IsWindowVisible(child) ? "true" : "false") +
               ",\"rect\":" + jsonRect(clientRectOf(child, window)) + "}";
    }
    return out + "]";
}

} // namespace

std::string describeWindow(HWND window, int index, const char* event) {
    const HWND owner = GetWindow(window, GW_OWNER);
    RECT frame{}, client{}, work{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT clientOrigin{};
    ClientToScreen(window, &clientOrigin);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return "{\"event\":\"" + std::string(event) + "\",\"index\":" + std::to_string(index) +
           ",\"handle\":" + std::to_string(reinterpret_cast<std::uintptr_t>(window)) +
           ",\"class\":" + jsonString(windowClass(window)) + ",\"title\":" + jsonString(windowText(window)) +
           ",\"owner\":" + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) +
           ",\"owner_class\":" + jsonString(owner ? windowClass(owner) : L"") +
           ",\"style\":" + std::to_string(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE))) +
           ",\"exstyle\":" + std::to_string(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE))) +
           ",\"class_style\":" + std::to_string(GetClassLongW(window, GCL_STYLE)) +
           ",\"rect\":" + jsonRect(frame) + ",\"client\":" + jsonRect(client) +
           ",\"client_origin\":[" + std::to_string(clientOrigin.x) + "," + std::to_string(clientOrigin.y) + "]" +
           ",\"work_area\":" + jsonRect(work) +
           ",\"controls\":" + describeControls(window) + "}";
}

bool pressButton(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool clickControl(HWND dialog, int id, POINT down, POINT up) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(down.x, down.y));
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    PostMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    return PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

bool pressKey(HWND dialog, int id, UINT virtualKey) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1);
    return PostMessageW(control, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

std::string moduleList(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::string out = "[";
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return out + "]";
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module)) {
        if (out.size() > 1) out += ",";
        out += jsonString(module.szExePath);
    }
    CloseHandle(snapshot);
    return out + "]";
}

bool saveScreenshot(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);

    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool saved = false;
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        saved = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
                WriteFile(out, bits, imageSize, &written, nullptr);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
