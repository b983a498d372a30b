#pragma once
// Icon files (.ico) and the icon resources made from them: one icon
// resource per image and an icon group that lists them by id.

#include <vector>

#include "pack/bytes.h"
#include "pack/outcome.h"

struct IconImage {
    std::uint8_t width = 0; // 0 means 256
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    Bytes data; // a DIB (BITMAPINFOHEADER, pixels, mask) or a PNG file
};

// Every image of the file, or why it is not a usable icon file.
Outcome<std::vector<IconImage>> readIconFile(ByteView file);

// The icon group resource listing each image under the id at the same index.
Bytes iconGroup(const std::vector<IconImage>& images, const std::vector<std::uint16_t>& ids);

// The icon ids an icon group resource names; a malformed group names those it holds whole.
std::vector<std::uint16_t> iconGroupIds(ByteView group);
