#include "password_dialog.h"

#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "password_rule.h"

namespace {

// The first field's text at the last Accept press, empty where the code
// page cannot hold it exactly.
std::wstring typedPassword;

// The dialog's fonts, in the order of its controls' font numbers.
enum PasswordFont { entryFont, labelFont, buttonFont };

void onAccept(HWND dialog) {
    const std::wstring typed = controlText(dialog, IDC_PASSWORD_ENTRY);
    const AnsiText typedBytes = ansiText(typed, PasswordText::capacity);
    const AnsiText confirmed = controlTextAnsi(dialog, IDC_PASSWORD_CONFIRM, PasswordText::capacity);
    // Text that the code page cannot hold exactly is no password: as "?"
    // marks or look-alikes it could match one stored that way.
    const bool exact = typedBytes.exact && confirmed.exact;
    typedPassword = exact ? typed : std::wstring();
    if (exact && !typedBytes.bytes.empty() && typedBytes.bytes == confirmed.bytes) EndDialog(dialog, 0);
}

void onCommand(HWND dialog, WORD id, WORD code) {
    if (id == IDC_PASSWORD_ACCEPT && isButtonCommand(code)) onAccept(dialog);
}

}  // namespace

INT_PTR CALLBACK passwordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    }
    return setupDialogDefaults(dialog, message, wParam, lParam);
}

INT_PTR showPasswordDialog(HWND owner) {
    // Only a password typed in this opening counts.
    typedPassword.clear();
    const DWORD field = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_PASSWORD;
    SetupDialog setup = {
        {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_3DLOOK, 89, 155, 164, 112, editionTexts.passwordTitle},
        {
            {editClass, IDC_PASSWORD_ENTRY, 38, 25, 85, 15, field, WS_EX_CLIENTEDGE, L"", entryFont},
            {editClass, IDC_PASSWORD_CONFIRM, 39, 50, 85, 15, field, WS_EX_CLIENTEDGE, L"", entryFont},
            {staticClass, IDC_PASSWORD_LABEL, 5, 5, 160, 15, WS_CHILD | WS_VISIBLE | SS_LEFT, 0,
             editionTexts.passwordLabel, labelFont},
            {buttonClass, IDC_PASSWORD_ACCEPT, 5, 90, 50, 15, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
             editionTexts.acceptButton, buttonFont},
        },
        {{L"Consolas", 12, FW_NORMAL}, {L"Consolas", 9, FW_BOLD}, {dialogFace, 10, FW_BOLD}},
    };
    showSetupDialog(setup, owner, passwordDialogProc);
    return 0;
}

bool enteredPasswordOpens(const PasswordText& stored) {
    return passwordOpens(stored.str(), typedPassword, PasswordText::capacity);
}
