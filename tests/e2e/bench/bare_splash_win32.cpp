// The baseline of the splash benchmark: the least a program must do to show
// a picture: read the file, decode it with the picture loader the splash
// uses, create one pop-up window centred on the screen and paint the picture
// into it. It stays for the given time, then ends.
//
//   bare_splash <image> <milliseconds to stay>
#include <windows.h>
#include <olectl.h>

#include <cwchar>

namespace {

IPicture* picture = nullptr;
OLE_XSIZE_HIMETRIC himetricWidth = 0;
OLE_YSIZE_HIMETRIC himetricHeight = 0;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT painting;
    const HDC target = BeginPaint(window, &painting);
    RECT client;
    GetClientRect(window, &client);
    picture->Render(target, 0, 0, client.right, client.bottom, 0, himetricHeight, himetricWidth, -himetricHeight,
                    nullptr);
    EndPaint(window, &painting);
    return 0;
}

bool decode(const wchar_t* path) {
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    const bool whole = block && ReadFile(file, GlobalLock(block), size, &read, nullptr) && read == size;
    CloseHandle(file);
    IStream* stream = nullptr;
    if (!whole || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) return false;
    const bool decoded = SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                                  reinterpret_cast<void**>(&picture)));
    stream->Release();
    return decoded && SUCCEEDED(picture->get_Width(&himetricWidth)) &&
           SUCCEEDED(picture->get_Height(&himetricHeight));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || !decode(argv[1])) return 2;
    const HDC screen = GetDC(nullptr);
    const int width = MulDiv(GetDeviceCaps(screen, LOGPIXELSX), himetricWidth, 2540);
    const int height = MulDiv(GetDeviceCaps(screen, LOGPIXELSY), himetricHeight, 2540);
    ReleaseDC(nullptr, screen);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BareSplash";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP,
                                        (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                        (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
    if (!window) return 3;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    SetTimer(nullptr, 0, static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) DispatchMessageW(&message);
    return 0;
}
