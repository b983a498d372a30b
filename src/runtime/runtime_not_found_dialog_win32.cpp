#include "runtime/runtime_not_found_dialog_win32.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "common/centre_window_win32.h"
#include "common/modal_dialog_win32.h"
#include "common/unique_handle_win32.h"
#include "common/wide_win32.h"
#include "runtime/hyper_link_control_win32.h"

namespace {

struct ItemIdListTraits {
    using Value = PIDLIST_ABSOLUTE;
    static Value invalid() { return nullptr; }
    static void close(Value list) { CoTaskMemFree(list); }
};
using UniqueItemIdList = UniqueResource<ItemIdListTraits>;

// The folder browser's new style needs OLE on the calling thread.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialised_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

struct DialogState {
    const Text& message;
    JvmType type;
    const FileProbe& files;
    const Messages& messages;
    PickedRuntime picked;
    std::optional<HyperLinkControl> link;
};

Text controlText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    return fromWide(text.data(), static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
}

void initialise(HWND dialog, DialogState& state) {
    const HWND link = GetDlgItem(dialog, IDC_DOWNLOAD_LINK);
    const Text address = controlText(link);
    state.link.emplace(link, address, address);
    SetDlgItemTextW(dialog, IDC_JRE_MESSAGE, wide(state.message));
    setErrorIcon(dialog, IDC_ERROR_ICON);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    CentreWindow(dialog);
}

void browse(HWND dialog, DialogState& state) {
    const Text title = state.messages.text(IDS_BROWSE_FOR_JRE);
    BROWSEINFOW browser{};
    browser.hwndOwner = dialog;
    browser.lpszTitle = wide(title);
    browser.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    const UniqueItemIdList chosen(SHBrowseForFolderW(&browser));
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) path[0] = L'\0';
    SetDlgItemTextW(dialog, IDC_JRE_PATH, path);
    state.picked = runtimeInPickedFolder(fromWide(path), state.type, state.files);
    EnableWindow(GetDlgItem(dialog, IDOK), !state.picked.jvmLibraryPath.empty());
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initialise(dialog, *reinterpret_cast<DialogState*>(lParam));
        return FALSE;
    case WM_COMMAND:
        if (!state) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            // Only a folder with a JVM library ends the dialog with OK, whatever sent the command.
            if (!state->picked.jvmLibraryPath.empty()) EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_BROWSE:
            browse(dialog, *state);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

std::optional<PickedRuntime> showRuntimeNotFoundDialog(const Text& message, JvmType type, const FileProbe& files,
                                                      const Messages& messages) {
    DialogState state{message, type, files, messages, {}, {}};
    // The folder browser needs OLE on this thread. Set up before the window
    // exists, so that libraries loaded with the window find ole32 already
    // loaded from the system folder rather than searching for it.
    const OleSession ole;
    const INT_PTR result = runModalDialog(IDD_RUNTIME_NOT_FOUND, dialogProcedure, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.picked;
}
