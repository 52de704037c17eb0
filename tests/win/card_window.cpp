#include "card_window.h"

#include "config/game_config.h"
#include "game/card_layout.h"
#include "game/card_control.h"
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
        frame, {{staticClass, IDC_CARD, 0, 0, 530, 330, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, L"", 0}});
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
    while (cardPaused(shownCard()) && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        dispatchWaiting();
    }
    return GetTickCount() - start;
}

namespace {

UINT_PTR WINAPI refusedTimer(HWND, UINT_PTR, UINT, TIMERPROC) { return 0; }

// The program's import address entry for a function of user32.
void** importEntry(void* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "user32.dll") != 0) continue;
        for (auto* entry = reinterpret_cast<void**>(base + library->FirstThunk); *entry; ++entry) {
            if (*entry == function) return entry;
        }
    }
    return nullptr;
}

void pointEntry(void** entry, void* to) {
    DWORD was;
    VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &was);
    *entry = to;
    VirtualProtect(entry, sizeof *entry, was, &was);
}

}  // namespace

TimersRefused::TimersRefused()
    : entry_(nullptr), real_(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetTimer"))) {
    entry_ = importEntry(real_);
    if (entry_) pointEntry(entry_, reinterpret_cast<void*>(refusedTimer));
}

TimersRefused::~TimersRefused() {
    if (entry_) pointEntry(entry_, real_);
}
