#pragma once
// The execution level an application manifest asks Windows for.

#include <optional>
#include <string>
#include <string_view>

// The three levels Windows knows, spelt as the manifest schema spells them.
bool isExecutionLevel(std::string_view level);

// The manifest with the level attribute of its requestedExecutionLevel
// element set (added when missing); nothing when it has no such element.
std::optional<std::string> withExecutionLevel(std::string_view manifest, std::string_view level);
