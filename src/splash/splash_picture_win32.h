#pragma once
// The splash image, decoded by the platform's picture loader (bitmap, JPEG,
// GIF, icon, metafile, enhanced metafile) or, for what that loader refuses
// (PNG on Windows), by the Windows Imaging Component.

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdint>
#include <span>

#include "common/text.h"

class SplashPicture {
public:
    // False when the file cannot be read, is empty or cannot be decoded.
    bool loadFile(const Text& path);
    bool loadBytes(std::span<const std::uint8_t> bytes);
    // The imaging component alone. Wine's picture loader decodes PNG too, so
    // tests reach this path directly.
    bool loadBytesWithImagingComponent(std::span<const std::uint8_t> bytes);

    bool isLoaded() const { return picture_ != nullptr; }
    // 0 until a picture is loaded.
    int pixelWidth() const { return pixelWidth_; }
    int pixelHeight() const { return pixelHeight_; }
    // Renders the whole picture into the rectangle; false when none is loaded.
    bool draw(HDC target, int x, int y, int cx, int cy) const;

private:
    void reset();
    bool adopt(Microsoft::WRL::ComPtr<IPicture> picture);

    Microsoft::WRL::ComPtr<IPicture> picture_;
    OLE_XSIZE_HIMETRIC himetricWidth_ = 0;
    OLE_YSIZE_HIMETRIC himetricHeight_ = 0;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
};
