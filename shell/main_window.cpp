#include "main_window.h"

#include "../game/card_accessible.h"
#include "../game/card_control.h"
#include "../game/card_view.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "../win/win_handles.h"
#include "main_commands.h"
#include "main_layout.h"

namespace {

HINSTANCE programInstance() { return GetModuleHandleW(nullptr); }

// The window's icons, of 32 and 16 pixels at 100 %, at that scale; the ones
// they replace are destroyed. Where one cannot be loaded the window keeps
// the icon it has.
void setIcons(HWND window, int dpi) {
    const struct {
        WPARAM which;
        int size;
    } icons[] = {{ICON_BIG, 32}, {ICON_SMALL, 16}};
    for (const auto& icon : icons) {
        const int size = atScale(icon.size, dpi);
        if (HANDLE loaded = LoadImageW(programInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0)) {
            const IconHandle replaced(reinterpret_cast<HICON>(
                SendMessageW(window, WM_SETICON, icon.which, reinterpret_cast<LPARAM>(loaded))));
        }
    }
}

// Sized with the window at its initialisation.
HWND addCardControl(HWND window) {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(IDC_CARD), programInstance(), nullptr);
}

INT_PTR CALLBACK creationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A procedure given at creation would receive WM_INITDIALOG before the card
// control and the menu exist. So the window is created with a placeholder,
// fitted out, and only then does mainWindowProc take over and receive the
// initialisation, while the window is still hidden: it may end the window
// before it is ever shown (a wrong start-up password).
INT_PTR runModally(HWND window) {
    SetForegroundWindow(window);
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(mainWindowProc));
    SendMessageW(window, WM_INITDIALOG, 0, 0);
    RECT client;
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (!IsWindow(window)) return 0;

    ShowWindow(window, SW_SHOW);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

}  // namespace

PixelSize mainWindowSize(HWND window, int dpi) {
    // The menu bar takes its place from the client area at 100 % as at any
    // scale: its height there is the frame's with it less the frame's without.
    const PixelSize none = {0, 0};
    const int menuBar = windowSizeAround(window, none, true, fullScaleDpi).cy -
                        windowSizeAround(window, none, false, fullScaleDpi).cy;
    return windowSizeAround(window, mainClientAtScale(fullScaleBaseUnits(dpi), menuBar, dpi), true, dpi);
}

void scaleMainWindow(HWND window, int dpi, const RECT* suggested) {
    HWND card = GetDlgItem(window, IDC_CARD);
    const PixelSize control = cardControlAtScale(fullScaleBaseUnits(dpi), dpi);
    SetWindowPos(card, nullptr, 0, 0, control.cx, control.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    placeWindow(window, mainWindowSize(window, dpi), suggested);
    setIcons(window, dpi);
    setCardDpi(card, dpi);
}

INT_PTR showMainWindow(HWND owner) {
    const DialogFrame frame = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_NOFAILCREATE | DS_3DLOOK, 40, 98,
                               static_cast<short>(mainClientUnits.cx), static_cast<short>(mainClientUnits.cy),
                               editionTexts.mainTitle};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(frame, {});
    HWND mainWindow = CreateDialogIndirectParamW(programInstance(),
                                                 reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                                 creationDialogProc, 0);
    if (!mainWindow) return 0;
    HWND card = addCardControl(mainWindow);
    buildMainMenu(mainWindow);
    keepOwnScaling(mainWindow);
    installCardControlProc(card);
    return runModally(mainWindow);
}

HMENU buildMainMenu(HWND window) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), editionTexts.menuOperations);
    AppendMenuW(popup, MF_STRING, IDM_PLAY, editionTexts.menuPlay);
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, IDM_SETUP, editionTexts.menuSetup);
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, IDM_PHOTOCOPY, editionTexts.menuPhotocopy);
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, IDM_EXIT, editionTexts.menuExit);
    SetMenu(window, bar);
    return bar;
}

// The program entry: prepares the common controls, then runs the main window.
// None of the arguments is used.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    prepareCommonControls();
    showMainWindow(nullptr);
    closeCardReading();
    return 0;
}
