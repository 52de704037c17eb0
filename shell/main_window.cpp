#include "main_window.h"

#include <algorithm>

#include <commctrl.h>

#include "../game/card_view.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "dialog_support.h"
#include "main_commands.h"
#include "win_handles.h"

namespace {

HWND mainWindow;
HMENU mainMenu;
// The card control's retained image: of the control's own size, so that no
// strip beside the canvas is ever left unpainted.
HBITMAP cardImage;
SIZE cardImageSize;

HINSTANCE programInstance() { return GetModuleHandleW(nullptr); }

void setIcons(HWND window) {
    auto icon = [](int size) {
        return LoadImageW(programInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0);
    };
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(32)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(16)));
}

HWND addCardControl(HWND window) {
    RECT bounds = {0, 0, 530, 330};
    MapDialogRect(window, &bounds);
    HWND card = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, 0,
                                bounds.right, bounds.bottom, window, reinterpret_cast<HMENU>(IDC_CARD),
                                programInstance(), nullptr);

    HDC screen = GetDC(nullptr);
    cardImage = CreateCompatibleBitmap(screen, bounds.right, bounds.bottom);
    ReleaseDC(nullptr, screen);
    cardImageSize = {bounds.right, bounds.bottom};
    clearCanvas(cardImage);
    return card;
}

void paintCardControl(const DRAWITEMSTRUCT& item) {
    MemoryDc dc;
    Selection image(dc.get(), cardImage);
    BitBlt(item.hDC, 0, 0, cardImageSize.cx, cardImageSize.cy, dc.get(), 0, 0, SRCCOPY);
}

// The window's default handling around mainWindowProc: the card control is
// painted from its retained image, and a close request ends the window.
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    mainWindowProc(window, message, wParam, lParam);
    switch (message) {
    case WM_DRAWITEM:
        if (wParam == IDC_CARD) {
            paintCardControl(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        endMainWindow();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK creationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR runModally(HWND window) {
    SetForegroundWindow(window);
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(mainDialogProc));
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

INT_PTR showMainWindow(HWND owner) {
    const DialogFrame frame = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_NOFAILCREATE | DS_3DLOOK, 40, 98, 529,
                               354, editionTexts.mainTitle};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(frame, {});
    mainWindow = CreateDialogIndirectParamW(programInstance(),
                                            reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                            creationDialogProc, 0);
    if (!mainWindow) return 0;
    setIcons(mainWindow);
    HWND card = addCardControl(mainWindow);
    buildMainMenu(mainWindow);
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
    mainMenu = bar;
    return bar;
}

void setPlayEnabled(bool enabled) {
    EnableMenuItem(mainMenu, IDM_PLAY, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}

void endMainWindow() {
    if (mainWindow) DestroyWindow(mainWindow);
}

void showOnCardControl(HWND window, HBITMAP image) {
    HWND card = GetDlgItem(window, IDC_CARD);
    if (!card || !cardImage) return;
    BITMAP info;
    if (!GetObjectW(image, sizeof info, &info)) return;
    {
        MemoryDc target;
        MemoryDc source;
        Selection into(target.get(), cardImage);
        Selection from(source.get(), image);
        BitBlt(target.get(), 0, 0, std::min<LONG>(info.bmWidth, cardImageSize.cx),
               std::min<LONG>(info.bmHeight, cardImageSize.cy), source.get(), 0, 0, SRCCOPY);
    }
    InvalidateRect(card, nullptr, FALSE);
    UpdateWindow(card);
}

// The program entry: prepares the common controls, then runs the main window.
// None of the arguments is used.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (HMODULE commonControls = LoadLibraryA("COMCTL32.DLL")) {
        using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        using Init = void(WINAPI*)();
        if (auto initEx = reinterpret_cast<InitEx>(
                reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")))) {
            const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), 0x9FF};
            initEx(&classes);
        } else if (auto init = reinterpret_cast<Init>(
                       reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControls")))) {
            init();
        }
        FreeLibrary(commonControls);
    }
    showMainWindow(nullptr);
    return 0;
}
