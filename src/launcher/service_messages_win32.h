#pragma once
// A service's messages: a service has no desktop to show a box on, so each
// goes to the Windows event log, under the executable's name, and to the
// "Error File" when the settings name one.

#include "common/messages_win32.h"
#include "common/text.h"

class ServiceMessages final : public Messages {
public:
    // errorFile: as the settings give it, environment variables not yet expanded.
    ServiceMessages(const Text& executablePath, const Text& errorFile);

    Text text(TextId id) const override { return texts_.text(id); }
    void showError(const Text& message) override;

private:
    void appendToErrorFile(const Text& message) const;

    WindowsMessages texts_;  // for its string table only
    Text program_;
    Text errorFile_;
};
