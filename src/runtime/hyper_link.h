#pragma once
// The link control's decisions that need no window: its colours as the user
// set them, and where its label lies inside the control.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "common/geometry.h"

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kDefaultLinkColour{0, 0, 255};
constexpr Rgb kDefaultVisitedColour{128, 0, 128};

// Registry value types that hold a colour, and the longest value read, terminator included.
constexpr std::uint32_t kRegistryString = 1;
constexpr std::uint32_t kRegistryExpandString = 2;
constexpr std::size_t kMaxAnchorColourBytes = 24;

// A colour value ("Anchor Color", "Anchor Color Visited") as the registry
// holds it: UTF-16 "red,green,blue" in decimal, each number taken by its
// lowest 8 bits. Nothing when the value is not a string, is too long, has no
// terminating zero or is not three numbers.
std::optional<Rgb> anchorColour(std::uint32_t type, std::span<const std::uint8_t> bytes);

enum class LabelAlignment { Left, Centre, Right };

// The part of the client area the label covers, given the size it measures
// when drawn from the left: moved for centred or right alignment and kept
// inside the client area.
Rect labelArea(const Rect& client, Size label, LabelAlignment alignment);
