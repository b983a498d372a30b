#include "launcher/app_user_model_id_win32.h"

#include "common/system_library_win32.h"
#include "common/wide_win32.h"

std::int32_t setProcessAppUserModelId(const Text& id) {
    using SetIdentity = HRESULT(WINAPI*)(PCWSTR);
    // Looked up rather than imported: shell32 is loaded only by launches that
    // set an identity or show a dialog. It stays loaded, as it would for either.
    const HMODULE shell = loadSystemLibrary(L"shell32.dll");
    if (!shell) return static_cast<std::int32_t>(GetLastError());
    const auto set = reinterpret_cast<SetIdentity>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID")));
    if (!set) return static_cast<std::int32_t>(GetLastError());
    return static_cast<std::int32_t>(set(wide(id)));
}
