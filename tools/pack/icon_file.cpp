#include "pack/icon_file.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::uint16_t kIconKind = 1;
constexpr std::uint16_t kMaximumImages = 256;
constexpr std::uint32_t kBitmapHeaderSize = 40;
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

using Images = Outcome<std::vector<IconImage>>;

bool isPng(ByteView data) {
    return data.size() >= kPngSignature.size() && std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

// Fills planes and bit count where the file leaves them zero, as some
// writers do for PNG images: Windows picks an image by them.
void completeFormat(IconImage& image) {
    if (image.planes == 0) image.planes = 1;
    if (image.bitCount != 0) return;
    image.bitCount = isPng(image.data) ? 32 : read16(image.data, 14).value_or(0);
}

} // namespace

Images readIconFile(ByteView file) {
    const auto reserved = read16(file, 0);
    const auto kind = read16(file, 2);
    const auto count = read16(file, 4);
    if (!count || *reserved != 0 || *kind != kIconKind) return Images::failure("not an icon file");
    if (*count == 0 || *count > kMaximumImages) return Images::failure("an icon file must hold 1 to 256 images");
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = kDirectorySize + i * kFileEntrySize;
        if (!spans(file, entry, kFileEntrySize)) return Images::failure("the icon file is cut short");
        const std::uint32_t size = *read32(file, entry + 8);
        const std::uint32_t offset = *read32(file, entry + 12);
        if (!spans(file, offset, size)) return Images::failure("an icon image lies past the end of the file");
        IconImage image{file[entry], file[entry + 1], file[entry + 2], *read16(file, entry + 4), *read16(file, entry + 6),
                        Bytes(file.begin() + offset, file.begin() + offset + size)};
        const bool bitmap = image.data.size() >= kBitmapHeaderSize && read32(image.data, 0) == kBitmapHeaderSize;
        if (!bitmap && !isPng(image.data)) {
            return Images::failure("an icon image is neither a bitmap nor a PNG image");
        }
        completeFormat(image);
        images.push_back(std::move(image));
    }
    return images;
}

Bytes iconGroup(const std::vector<IconImage>& images, const std::vector<std::uint16_t>& ids) {
    Bytes group;
    append16(group, 0);
    append16(group, kIconKind);
    append16(group, static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        group.insert(group.end(), {image.width, image.height, image.colorCount, 0});
        append16(group, image.planes);
        append16(group, image.bitCount);
        append32(group, static_cast<std::uint32_t>(image.data.size()));
        append16(group, ids[i]);
    }
    return group;
}

std::vector<std::uint16_t> iconGroupIds(ByteView group) {
    std::vector<std::uint16_t> ids;
    const std::uint16_t count = read16(group, 4).value_or(0);
    for (std::size_t i = 0; i < count; ++i) {
        const auto id = read16(group, kDirectorySize + i * kGroupEntrySize + 12);
        if (!id) break;
        ids.push_back(*id);
    }
    return ids;
}
