#include "vm/exception_dialog_win32.h"

#include "common/centre_window_win32.h"
#include "common/dialog_layout_win32.h"
#include "common/modal_dialog_win32.h"
#include "common/splitting.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"

namespace {

constexpr int kIgnoreButton = 1;
constexpr int kStopButton = 2;
constexpr int kIconControl = 204;
constexpr int kReportControl = 208;

// The group box and the report grow with the dialog, the texts widen (the two
// below the report also move down), the buttons keep to the bottom right.
constexpr AnchorRule kAnchors[] = {
    {209, kAnchorSizeX | kAnchorSizeY}, {210, kAnchorSizeX},
    {212, kAnchorSizeX | kAnchorMoveY}, {211, kAnchorSizeX | kAnchorMoveY},
    {kReportControl, kAnchorSizeX | kAnchorSizeY}, {kIgnoreButton, kAnchorMoveX | kAnchorMoveY},
    {kStopButton, kAnchorMoveX | kAnchorMoveY},
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
        SetDlgItemTextW(dialog, kReportControl, wide(withCrLfLineEnds(state->report)));
        SendDlgItemMessageW(dialog, kReportControl, EM_SETREADONLY, TRUE, 0);
        setErrorIcon(dialog, kIconControl);
        CentreWindow(dialog);
        initialiseDialogLayout(dialog, state->layout, kAnchors);
        return FALSE;
    }
    case WM_COMMAND:
        // Escape sends IDCANCEL, which is the Stop button's id.
        if (LOWORD(wParam) == kIgnoreButton || LOWORD(wParam) == kStopButton) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, kStopButton);
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
    return result == kIgnoreButton ? ExceptionChoice::Ignore : ExceptionChoice::Stop;
}
