#include "main_commands.h"

#include "../config/config_dialog.h"
#include "../config/game_config.h"
#include "../config/password_dialog.h"
#include "../game/card_view.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "dialog_support.h"
#include "main_window.h"
#include "snapshot.h"

namespace {

// 1 while a Set up command runs: its dialogs have no owner, so the menu
// stays usable and could start it again.
int setupInProgress;
HWND savedMainFocus;

bool passwordIsRight() { return enteredPassword() == gameConfig.password; }

void onInitialise() {
    setupInProgress = 0;
    resetSeries();
    createCardCanvas();
    if (!configFileExists()) {
        setPlayEnabled(false);
        return;
    }
    loadConfig();
    if (gameConfig.password.empty()) {
        setPlayEnabled(false);
        return;
    }
    showPasswordDialog(nullptr);
    if (!passwordIsRight()) {
        endMainWindow();
        return;
    }
    setPlayEnabled(true);
}

void onPlay(HWND window) { startCard(window); }

void onSetup() {
    deactivateCard();
    if (setupInProgress == 1) return;
    setupInProgress = 1;
    loadConfig();
    if (!gameConfig.password.empty()) showPasswordDialog(nullptr);
    if (gameConfig.password.empty() || passwordIsRight()) showConfigDialog(nullptr);
    setupInProgress = 0;
}

void onPhotocopy() {
    if (saveBitmapFile(cardCanvasBitmap(), programFolder() + editionTexts.snapshotFileName)) {
        MessageBoxW(nullptr, editionTexts.snapshotSaved, editionTexts.messageCaption, MB_OK);
    }
}

void onCommand(HWND window, WORD id) {
    switch (id) {
    case IDM_PLAY: onPlay(window); break;
    case IDM_SETUP: onSetup(); break;
    case IDM_PHOTOCOPY: onPhotocopy(); break;
    case IDM_EXIT: endMainWindow(); break;
    }
}

}  // namespace

INT_PTR mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: onInitialise(); break;
    case WM_NCACTIVATE: keepFocus(window, wParam != 0, savedMainFocus); break;
    case WM_COMMAND: onCommand(window, LOWORD(wParam)); break;
    }
    return 0;
}
