#include "launcher/window_flavour_win32.h"

#include "runtime/runtime_not_found_dialog_win32.h"
#include "vm/exception_dialog_win32.h"

std::optional<PickedRuntime> WindowFlavour::askForRuntime(const Text& message, JvmType type,
                                                          const RuntimeChoiceRecord&, const FileProbe& files) {
    return showRuntimeNotFoundDialog(message, type, files, messages_);
}

ExceptionChoice WindowFlavour::reportUncaughtException(const Text& report) { return showExceptionDialog(report); }
