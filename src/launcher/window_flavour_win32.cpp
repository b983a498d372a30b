#include "launcher/window_flavour_win32.h"

#include "common/system_library_win32.h"
#include "runtime/runtime_not_found_dialog_win32.h"
#include "vm/exception_dialog_win32.h"

std::optional<PickedRuntime> WindowFlavour::askForRuntime(const Text& message, JvmType type,
                                                          const RuntimeChoiceRecord&, const FileProbe& files) {
    return showRuntimeNotFoundDialog(message, type, files, messages_);
}

ExceptionChoice WindowFlavour::reportUncaughtException(const Text& report) { return showExceptionDialog(report); }

namespace {

DWORD WINAPI preloadThread(LPVOID) {
    preloadWindowSystemLibraries();
    return 0;
}

} // namespace

void WindowFlavour::beforeJavaVm(const VmOptionList&) {
    preloading_.reset(CreateThread(nullptr, 0, preloadThread, nullptr, 0, nullptr));
    // Without a thread of its own, the work is done here.
    if (!preloading_) preloadWindowSystemLibraries();
}

void WindowFlavour::beforeApplicationCode() {
    if (preloading_) WaitForSingleObject(preloading_.get(), INFINITE);
    preloading_.reset();
}
