#include "splash/splash_window_win32.h"

#include <utility>

#include "common/message_owner_win32.h"
#include "splash/splash_choice.h"
#include "splash/splash_picture_win32.h"

namespace {

constexpr wchar_t kClassName[] = L"SplashScreenWindow";

// Without the shadow, or where the platform refuses it, the class goes without.
bool registerWindowClass(WNDPROC procedure, bool shadow) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_SAVEBITS | (shadow ? CS_DROPSHADOW : 0);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass)) return true;
    if (!shadow) return false;
    windowClass.style &= ~CS_DROPSHADOW;
    return RegisterClassExW(&windowClass) != 0;
}

// Selects an object into a device context for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The picture drawn once into a bitmap of its pixel size, so that painting only copies.
UniqueGdiObject renderedBitmap(const SplashPicture& picture) {
    const UniqueScreenDc screen(GetDC(nullptr));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), picture.pixelWidth(), picture.pixelHeight()));
    if (!bitmap) return bitmap;
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const Selection selected(memory.get(), bitmap.get());
    picture.draw(memory.get(), 0, 0, picture.pixelWidth(), picture.pixelHeight());
    return bitmap;
}

struct RenderedPicture {
    UniqueGdiObject bitmap;  // none when the image cannot be read or decoded
    int width = 0, height = 0;
};

RenderedPicture renderedPicture(const Text& image) {
    SplashPicture picture;
    picture.loadFile(image);
    RenderedPicture rendered{UniqueGdiObject(), picture.pixelWidth(), picture.pixelHeight()};
    if (picture.isLoaded()) rendered.bitmap = renderedBitmap(picture);
    return rendered;
}

// The picture rendered on a thread of its own: under Wine decoding it and
// making a process's first window each take tens of milliseconds, and
// neither needs the other.
class PictureRendering {
public:
    explicit PictureRendering(const Text& image) : image_(image) {
        thread_.reset(CreateThread(nullptr, 0, run, this, 0, nullptr));
        if (!thread_) result_ = renderedPicture(image_);  // without a thread, here
    }
    ~PictureRendering() { take(); }
    PictureRendering(const PictureRendering&) = delete;
    PictureRendering& operator=(const PictureRendering&) = delete;

    RenderedPicture take() {
        if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
        return std::move(result_);
    }

private:
    static DWORD WINAPI run(LPVOID self) {
        auto& rendering = *static_cast<PictureRendering*>(self);
        rendering.result_ = renderedPicture(rendering.image_);
        return 0;
    }

    const Text& image_;
    RenderedPicture result_;
    UniqueHandle thread_;
};

} // namespace

void SplashWindow::show() {
    PictureRendering rendering(image_);
    // Made hidden and empty meanwhile, and placed once the picture's size is known.
    if (registerWindowClass(windowProcedure, shadow_)) {
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
    }
    RenderedPicture picture = rendering.take();
    bitmap_ = std::move(picture.bitmap);
    const SplashPosition at = centredSplashPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                                    picture.width, picture.height);
    if (window_) {
        SetWindowPos(window_, nullptr, at.x, at.y, picture.width, picture.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    setMessageOwner(window_);
    if (!window_) return;
    // Shown in its normal state without taking the focus from what the user
    // is doing. (Under Wine, hiding an active window also stalls for 2 s.)
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

void SplashWindow::runUntilQuit() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK SplashWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (!self) break;
        self->paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the bitmap covers the whole window: no flicker of the class background
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SplashWindow::paint(HWND window) const {
    PAINTSTRUCT painting;
    const HDC target = BeginPaint(window, &painting);
    BITMAP size{};
    if (bitmap_ && GetObjectW(bitmap_.get(), sizeof size, &size)) {
        const UniqueMemoryDc memory(CreateCompatibleDC(target));
        const Selection selected(memory.get(), bitmap_.get());
        BitBlt(target, 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &painting);
}
