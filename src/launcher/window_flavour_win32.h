#pragma once
// The GUI launcher's flavour: error boxes, the runtime-not-found dialog and
// the exception dialog.

#include "common/messages_win32.h"
#include "common/unique_handle_win32.h"
#include "launcher/launcher_flavour_win32.h"

class WindowFlavour final : public LauncherFlavour {
public:
    Messages& messages() override { return messages_; }
    std::optional<PickedRuntime> askForRuntime(const Text& message, JvmType type, const RuntimeChoiceRecord& searched,
                                               const FileProbe& files) override;
    ExceptionChoice reportUncaughtException(const Text& report) override;
    // The application's windows load what the launcher's do: loaded while the
    // VM is created, and in place before the application's code runs.
    void beforeJavaVm(const VmOptionList&) override;
    void beforeApplicationCode() override;

private:
    WindowsMessages messages_;
    UniqueHandle preloading_;
};
