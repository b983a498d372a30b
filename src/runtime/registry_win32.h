#pragma once

#include "runtime/registry.h"

class WindowsRegistry final : public Registry {
public:
    std::optional<TextList> subkeyNames(const Text& key, RegistryView view) const override;
    std::optional<Text> stringValue(const Text& key, const Text& name, RegistryView view) const override;
};
