#include "card_control.h"

#include "card_accessible.h"
#include "card_layout.h"
#include "card_view.h"

namespace {

// Set in a key message that the keyboard's repeat sent, the key being held.
const LPARAM keyRepeated = 1 << 30;

WNDPROC baseCardProc;

// A press counts at the canvas place under it.
void onPress(HWND card, LPARAM at) {
    const int dpi = cardControlDpi();
    clickCard(card, cellAt(static_cast<unsigned>(toCanvas(LOWORD(at), dpi)),
                           static_cast<unsigned>(toCanvas(HIWORD(at), dpi))));
}

// Arrows move the mark from star to star; Space and Enter press the marked
// star. A held key repeats only the moving: a repeated Space or Enter
// presses nothing.
void onKey(HWND card, WPARAM key, bool repeated) {
    switch (key) {
    case VK_LEFT: moveCardMark(card, CardKey::left); break;
    case VK_RIGHT: moveCardMark(card, CardKey::right); break;
    case VK_UP: moveCardMark(card, CardKey::up); break;
    case VK_DOWN: moveCardMark(card, CardKey::down); break;
    case VK_SPACE:
    case VK_RETURN:
        if (!repeated) pressMarkedStar(card);
        break;
    }
}

// The mark shows only while the card has the focus.
void onFocus(HWND card, bool arrived) {
    InvalidateRect(card, nullptr, FALSE);
    if (arrived) announceFocus(card);
}

// The dialog manager would take the arrows and Enter for itself.
LRESULT cardDialogCode(const MSG* message) {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
    return code;
}

}  // namespace

void installCardControlProc(HWND cardControl) {
    baseCardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(cardControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cardControlProc)));
}

LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: onPress(window, lParam); break;
    case WM_KEYDOWN: onKey(window, wParam, (lParam & keyRepeated) != 0); break;
    case WM_TIMER:
        if (wParam != cardPauseTimer) break;
        finishCardPause(GetParent(window));
        return 0;
    case cardPauseOver: finishCardPause(GetParent(window)); return 0;
    case WM_SETFOCUS: onFocus(window, true); break;
    case WM_KILLFOCUS: onFocus(window, false); break;
    case WM_GETOBJECT:
        if (LRESULT object = answerCardObject(window, wParam, lParam)) return object;
        break;
    case WM_NCDESTROY: retireCardObject(window); break;
    case WM_GETDLGCODE:
        return CallWindowProcA(baseCardProc, window, message, wParam, lParam) |
               cardDialogCode(reinterpret_cast<const MSG*>(lParam));
    }
    return CallWindowProcA(baseCardProc, window, message, wParam, lParam);
}
