#include "common/modal_dialog_win32.h"

#include "common/localized_resource_win32.h"

INT_PTR runModalDialog(int templateId, DLGPROC procedure, LPARAM parameter) {
    const auto dialogTemplate = findLocalizedResource(RT_DIALOG, MAKEINTRESOURCEW(templateId));
    if (dialogTemplate.empty()) return -1;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), GetActiveWindow(),
                                   procedure, parameter);
}

void setErrorIcon(HWND dialog, int iconControlId) {
    // Shared system icons are never destroyed, so nothing here needs releasing.
    SendDlgItemMessageW(dialog, iconControlId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
}
