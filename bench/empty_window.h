// An empty window from a dialog template of the main window's size and font,
// run until it is closed: what the start-up baselines show.
#pragma once

#include <windows.h>

#include "win/dialog_support.h"

inline INT_PTR CALLBACK emptyWindowProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return TRUE;
    }
    return FALSE;
}

inline int runEmptyWindow(HINSTANCE instance, const wchar_t* title) {
    const DialogFrame frame = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 40, 98, 529, 354, title};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(frame, {});
    HWND window = CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                             nullptr, emptyWindowProc, 0);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) DispatchMessageW(&message);
    }
    return 0;
}
