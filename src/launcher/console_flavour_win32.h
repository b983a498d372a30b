#pragma once
// The console launcher's flavour: every message on standard error as one line
// after the program's name, in place of the boxes and dialogs, and console
// events forwarded to a VM that does not take them itself.

#include <optional>

#include "common/messages_win32.h"
#include "launcher/console_events_win32.h"
#include "launcher/launcher_flavour_win32.h"

class ConsoleFlavour final : public LauncherFlavour {
public:
    ConsoleFlavour();

    Messages& messages() override { return messages_; }
    // Says where it looked and picks nothing: the launch ends with -1.
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type, const RuntimeChoiceRecord& searched,
                                               const FileProbe& files) override;
    // The report on standard error; the application stops.
    ExceptionChoice reportUncaughtException(const Text& report) override;
    // Not with "-Xrs", under which a VM leaves console events to Windows too.
    void beforeJavaVm(const VmOptionList& options) override;
    // A command-line tool's process has no windows of its own to prepare for.
    void beforeApplicationCode() override {}

private:
    class LineMessages final : public Messages {
    public:
        explicit LineMessages(const Text& program) : program_(program) {}
        Text text(TextId id) const override { return texts_.text(id); }
        void showError(const Text& message) override;

    private:
        const Text& program_;
        WindowsMessages texts_;  // for its string table only
    };

    Text executablePath_;
    Text program_;
    LineMessages messages_{program_};
    std::optional<ConsoleEventForwarding> forwarding_;
};
