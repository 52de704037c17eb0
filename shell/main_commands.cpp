#include "main_commands.h"

#include "../config/config_dialog.h"
#include "../config/game_config.h"
#include "../config/password_dialog.h"
#include "../game/card_view.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "main_window.h"
#include "snapshot.h"

namespace {

// 1 while a Set up command runs: its dialogs have no owner, so the menu
// stays usable and could start it again.
int setupInProgress;
HWND savedMainFocus;

bool passwordIsRight() { return enteredPasswordOpens(gameConfig.password); }

void setPlayEnabled(HWND window, bool enabled) {
    EnableMenuItem(GetMenu(window), IDM_PLAY, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}

// The modal run returns, and the program ends, once the window is gone
// (and any dialog still open inside this procedure has closed).
void endMainWindow(HWND window) { DestroyWindow(window); }

void onInitialise(HWND window) {
    setupInProgress = 0;
    resetSeries();
    createCardCanvas();
    scaleMainWindow(window, windowDpi(window), nullptr);
    if (!configFileExists()) {
        setPlayEnabled(window, false);
        return;
    }
    loadConfig();
    if (gameConfig.password.empty()) {
        setPlayEnabled(window, false);
        return;
    }
    showPasswordDialog(nullptr);
    if (!passwordIsRight()) {
        endMainWindow(window);
        return;
    }
    setPlayEnabled(window, true);
}

void onPlay(HWND window) { startCard(window); }

void onSetup(HWND window) {
    deactivateCard(window);
    if (setupInProgress == 1) return;
    setupInProgress = 1;
    loadConfig();
    if (!gameConfig.password.empty()) showPasswordDialog(nullptr);
    // Exit or a close may have ended the window while the password dialog
    // was open: the program then ends as it closes, with no set-up.
    if (IsWindow(window) && (gameConfig.password.empty() || passwordIsRight()) && showConfigDialog(nullptr)) {
        setPlayEnabled(window, true);
    }
    setupInProgress = 0;
}

void onPhotocopy() {
    if (saveBitmapFile(cardCanvasBitmap(), programFolder() + editionTexts.snapshotFileName)) {
        MessageBoxW(nullptr, editionTexts.snapshotSaved, editionTexts.messageCaption, MB_OK);
    }
}

// A command chosen during the pause after a losing card acts on the card
// that the pause's end brings, as if the pause had run out: Play and Set up
// see to it themselves.
void onCommand(HWND window, WORD id) {
    switch (id) {
    case IDM_PLAY: onPlay(window); break;
    case IDM_SETUP: onSetup(window); break;
    case IDM_PHOTOCOPY:
        finishCardPause(window);
        onPhotocopy();
        break;
    case IDM_EXIT: endMainWindow(window); break;
    }
}

bool onDrawItem(WPARAM id, const DRAWITEMSTRUCT& item) {
    if (id != IDC_CARD) return false;
    paintCardControl(item);
    return true;
}

}  // namespace

// Returns FALSE where the dialog's default handling follows.
INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInitialise(window); break;
    case WM_NCACTIVATE: keepFocus(window, wParam != 0, savedMainFocus); break;
    case WM_COMMAND: onCommand(window, LOWORD(wParam)); break;
    case WM_DRAWITEM: return onDrawItem(wParam, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE: endMainWindow(window); return TRUE;
    // Moved to a display of another scale: laid out and drawn again for it.
    case WM_DPICHANGED: scaleMainWindow(window, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return TRUE;
    case WM_GETDPISCALEDSIZE: return answerScaledSize(window, mainWindowSize(window, static_cast<int>(wParam)), lParam);
    // A close sent by another program ends the window inside the modal
    // run's wait for a message, which goes on waiting: this message ends it.
    case WM_DESTROY: PostMessageW(nullptr, WM_NULL, 0, 0); break;
    }
    return FALSE;
}
