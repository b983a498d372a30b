#pragma once
// The launcher's messages on Windows: texts from the executable's string
// table, failures in an error box owned by the message owner.

#include "common/messages.h"

class WindowsMessages final : public Messages {
public:
    Text text(TextId id) const override;
    // An error box (no caption, one OK button, stop icon).
    void showError(const Text& message) override;
};
