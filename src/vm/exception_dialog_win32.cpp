#include "vm/exception_dialog_win32.h"

#include "common/centre_window_win32.h"
#include "common/dialog_layout_win32.h"
#include "common/modal_dialog_win32.h"
#include "common/splitting.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"

namespace {

// The group box and the report grow with the dialog, the texts widen (the two
// below the report also move down), the buttons keep to the bottom right.
constexpr AnchorRule kAnchors[] = {
    {IDC_EXCEPTION_GROUP, kAnchorSizeX | kAnchorSizeY}, {IDC_EXCEPTION_INTRO, kAnchorSizeX},
    {IDC_EXCEPTION_WARNING, kAnchorSizeX | kAnchorMoveY}, {IDC_EXCEPTION_CHOICE, kAnchorSizeX | kAnchorMoveY},
    {IDC_EXCEPTION_REPORT, kAnchorSizeX | kAnchorSizeY}, {IDC_IGNORE, kAnchorMoveX | kAnchorMoveY},
    {IDC_STOP, kAnchorMoveX | kAnchorMoveY},
};

struct ExceptionDialogState {
    const Text& report;
    DialogLayout layout;
};

INT_PTR CALLBACK exceptionDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ExceptionDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (state && handleDialogLayoutMessage(dialog, state->layout, message, wParam, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<ExceptionDialogState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetDlgItemTextW(dialog, IDC_EXCEPTION_REPORT, wide(withCrLfLineEnds(state->report)));
        SendDlgItemMessageW(dialog, IDC_EXCEPTION_REPORT, EM_SETREADONLY, TRUE, 0);
        setErrorIcon(dialog, IDC_ERROR_ICON);
        CentreWindow(dialog);
        initialiseDialogLayout(dialog, state->layout, kAnchors);
        return FALSE;
    }
    case WM_COMMAND:
        // Escape sends IDCANCEL, which is the Stop button's id.
        if (LOWORD(wParam) == IDC_IGNORE || LOWORD(wParam) == IDC_STOP) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, IDC_STOP);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

ExceptionChoice showExceptionDialog(const Text& report) {
    if (report.empty()) return ExceptionChoice::Ignore;
    ExceptionDialogState state{report, {}};
    const INT_PTR result =
        runModalDialog(IDD_JAVA_EXCEPTION, exceptionDialogProcedure, reinterpret_cast<LPARAM>(&state));
    return result == IDC_IGNORE ? ExceptionChoice::Ignore : ExceptionChoice::Stop;
}
