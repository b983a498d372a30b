#include "vm/exception_dialog_win32.h"

#include "common/centre_window_win32.h"
#include "common/modal_dialog_win32.h"
#include "common/splitting.h"
#include "common/text_ids.h"
#include "common/wide_win32.h"

namespace {

constexpr int kIgnoreButton = 1;
constexpr int kStopButton = 2;
constexpr int kIconControl = 204;
constexpr int kReportControl = 208;

INT_PTR CALLBACK exceptionDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* report = reinterpret_cast<const Text*>(lParam);
        SetDlgItemTextW(dialog, kReportControl, wide(withCrLfLineEnds(*report)));
        SendDlgItemMessageW(dialog, kReportControl, EM_SETREADONLY, TRUE, 0);
        setErrorIcon(dialog, kIconControl);
        CentreWindow(dialog);
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
    const INT_PTR result = runModalDialog(IDD_JAVA_EXCEPTION, exceptionDialogProcedure,
                                          reinterpret_cast<LPARAM>(&report));
    return result == kIgnoreButton ? ExceptionChoice::Ignore : ExceptionChoice::Stop;
}
