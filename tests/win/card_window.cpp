#include "card_window.h"

#include "config/game_config.h"
#include "game/card_layout.h"
#include "game/card_view.h"
#include "resources/resource.h"
#include "tests/standard_config.h"
#include "win/dialog_support.h"

std::function<void()> onCardPaint;

namespace {

INT_PTR CALLBACK cardDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_DRAWITEM && onCardPaint) onCardPaint();
    return FALSE;
}

CardWindow makeCardWindow() {
    const DialogFrame frame = {WS_POPUP | WS_CAPTION, 0, 0, 529, 354, L"card test"};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(
        frame, {{staticClass, IDC_CARD, 0, 0, 530, 330, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, L""}});
    CardWindow made;
    made.window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr,
                                             cardDialogProc, 0);
    made.card = GetDlgItem(made.window, IDC_CARD);
    ShowWindow(made.window, SW_SHOWNOACTIVATE);
    installCardControlProc(made.card);
    createCardCanvas();
    return made;
}

}  // namespace

CardWindow& cardWindow() {
    static CardWindow window = makeCardWindow();
    return window;
}

void configure(const char* games, const char* comment) { gameConfig = standardConfig("pw", games, comment); }

void press(unsigned x, unsigned y) {
    SendMessageW(cardWindow().card, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void pressCell(int column, int row) {
    press(static_cast<unsigned>(cellX(column) + 50), static_cast<unsigned>(cellY(row) + 50));
}

void pressCells(int count) {
    for (int p = 1; p <= count; ++p) pressCell((p - 1) % 3 + 1, (p - 1) / 3 + 1);
}

void key(WPARAM code, bool held) { SendMessageW(cardWindow().card, WM_KEYDOWN, code, held ? (1 << 30) | 1 : 1); }

void dispatchWaiting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

DWORD waitOutThePause() {
    const DWORD start = GetTickCount();
    while (cardPaused(cardSeries()) && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        dispatchWaiting();
    }
    return GetTickCount() - start;
}
