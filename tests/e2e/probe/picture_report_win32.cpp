#include "picture_report_win32.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "json_out_win32.h"
#include "splash/splash_picture_win32.h"

namespace {

std::string hexColour(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// The colours at the points, with the picture drawn at its pixel size into a screen-compatible bitmap.
std::string coloursAt(const SplashPicture& picture, wchar_t** points, int count) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.pixelWidth(), picture.pixelHeight());
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool drawn = picture.draw(memory, 0, 0, picture.pixelWidth(), picture.pixelHeight());
    std::string out = std::string(",\"drawn\":") + (drawn ? "true" : "false") + ",\"pixels\":[";
    for (int i = 0; i < count; ++i) {
        int x = 0, y = 0;
        swscanf(points[i], L"%d,%d", &x, &y);
        out += std::string(i ? "," : "") + "[" + std::to_string(x) + "," + std::to_string(y) + ",\"" +
               hexColour(GetPixel(memory, x, y)) + "\"]";
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out + "]";
}

} // namespace

int reportPicture(const wchar_t* mode, const wchar_t* path, wchar_t** points, int count) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    SplashPicture picture;
    const bool loaded = std::wstring(mode) == L"wic" ? picture.loadBytesWithImagingComponent(bytes)
                                                     : picture.loadBytes(bytes);
    emit("{\"event\":\"picture\",\"loaded\":" + std::string(loaded ? "true" : "false") +
         ",\"width\":" + std::to_string(picture.pixelWidth()) + ",\"height\":" + std::to_string(picture.pixelHeight()) +
         (loaded ? coloursAt(picture, points, count) : "") + "}");
    return loaded ? 0 : 1;
}
