// The floor of the program's start-up: what it cannot go below. The same
// manifest and the same common-controls preparation as the game, then an
// empty window from a dialog template of the main window's size and font.
#include <windows.h>

#include "win/dialog_support.h"

namespace {

INT_PTR CALLBACK floorProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    prepareCommonControls();
    const DialogFrame frame = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 40, 98, 529, 354, L"Floor window"};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(frame, {});
    HWND window = CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                             nullptr, floorProc, 0);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) DispatchMessageW(&message);
    }
    return 0;
}
