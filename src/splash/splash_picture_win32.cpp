#include "splash/splash_picture_win32.h"

#include <wincodec.h>

#include <cstring>
#include <limits>
#include <vector>

#include "common/long_path_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kHimetricPerInch = 2540;
// CLSID_WICImagingFactory1: present from Windows Vista on.
constexpr CLSID kImagingFactoryClass = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
// GUID_WICPixelFormat32bppPBGRA: what a 32-bit top-down DIB section holds.
constexpr GUID kPremultipliedBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

std::vector<std::uint8_t> readWholeFile(const Text& path) {
    UniqueFileHandle file(CreateFileW(fileSystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > std::numeric_limits<DWORD>::max()) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

// A stream over a movable copy of the bytes, which it frees when released.
ComPtr<IStream> streamOver(std::span<const std::uint8_t> bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (!block) return nullptr;
    if (void* target = GlobalLock(block)) {
        std::memcpy(target, bytes.data(), bytes.size());
        GlobalUnlock(block);
        ComPtr<IStream> stream;
        if (SUCCEEDED(CreateStreamOnHGlobal(block, TRUE, &stream))) return stream;
    }
    GlobalFree(block);
    return nullptr;
}

// COM for the calling thread while it decodes; undone only if done here.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// The first frame as a 32-bit DIB section; transparent pixels become black,
// as they do when the picture loader renders a transparent GIF.
UniqueGdiObject decodeToBitmap(IWICImagingFactory& factory, IStream& stream) {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(factory.CreateDecoderFromStream(&stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory.CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), kPremultipliedBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) {
        return {};
    }
    const std::uint64_t stride = std::uint64_t{width} * 4;
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max() ||
        stride * height > std::numeric_limits<UINT>::max()) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as the converter writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride),
                                                static_cast<UINT>(stride * height), static_cast<BYTE*>(bits)))) {
        return {};
    }
    return bitmap;
}

} // namespace

bool SplashPicture::loadFile(const Text& path) {
    reset();
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    return !bytes.empty() && loadBytes(bytes);
}

bool SplashPicture::loadBytes(std::span<const std::uint8_t> bytes) {
    reset();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<LONG>::max())) return false;
    const ComPtr<IStream> stream = streamOver(bytes);
    if (!stream) return false;
    ComPtr<IPicture> picture;
    if (SUCCEEDED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, __uuidof(IPicture),
                                 reinterpret_cast<void**>(picture.GetAddressOf())))) {
        return adopt(std::move(picture));
    }
    return loadBytesWithImagingComponent(bytes);
}

bool SplashPicture::loadBytesWithImagingComponent(std::span<const std::uint8_t> bytes) {
    reset();
    const ComScope com;
    ComPtr<IWICImagingFactory> factory;
    const ComPtr<IStream> stream = streamOver(bytes);
    if (!stream || FAILED(CoCreateInstance(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&factory)))) {
        return false;
    }
    UniqueGdiObject bitmap = decodeToBitmap(*factory.Get(), *stream.Get());
    if (!bitmap) return false;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = static_cast<HBITMAP>(bitmap.get());
    ComPtr<IPicture> picture;
    if (FAILED(OleCreatePictureIndirect(&description, __uuidof(IPicture), TRUE,
                                        reinterpret_cast<void**>(picture.GetAddressOf())))) {
        return false;
    }
    bitmap.release();  // the picture owns it now
    return adopt(std::move(picture));
}

bool SplashPicture::adopt(ComPtr<IPicture> picture) {
    if (FAILED(picture->get_Width(&himetricWidth_)) || FAILED(picture->get_Height(&himetricHeight_))) {
        reset();
        return false;
    }
    const UniqueScreenDc screen(GetDC(nullptr));
    pixelWidth_ = MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSX), himetricWidth_, kHimetricPerInch);
    pixelHeight_ = MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSY), himetricHeight_, kHimetricPerInch);
    picture_ = std::move(picture);
    return true;
}

bool SplashPicture::draw(HDC target, int x, int y, int cx, int cy) const {
    if (!picture_) return false;
    // The picture's vertical axis runs upward: start at its top and go down.
    return SUCCEEDED(picture_->Render(target, x, y, cx, cy, 0, himetricHeight_, himetricWidth_, -himetricHeight_,
                                      nullptr));
}

void SplashPicture::reset() {
    picture_.Reset();
    himetricWidth_ = himetricHeight_ = 0;
    pixelWidth_ = pixelHeight_ = 0;
}
