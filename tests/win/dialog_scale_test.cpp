#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>

#include "config/config_dialog.h"
#include "config/password_dialog.h"
#include "resources/resource.h"
#include "resources/strings.h"
#include "tests/text_fit.h"

namespace {

std::function<void(HWND)> whileOpen;
const wchar_t* openTitle;

// Runs whileOpen on the dialog of that title once its modal run is going.
void CALLBACK onceOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = FindWindowW(L"#32770", openTitle);
    EXPECT_NE(dialog, nullptr) << "no dialog titled as the set-up's";
    if (dialog) whileOpen(dialog);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

void withDialogOpen(const wchar_t* title, const std::function<void()>& show, std::function<void(HWND)> check) {
    openTitle = title;
    whileOpen = std::move(check);
    SetTimer(nullptr, 0, 0, onceOpen);
    show();
}

struct ControlLook {
    RECT rect;
    HFONT font;
    LONG height;  // the font's, in pixels
};

std::map<int, ControlLook> looks(HWND dialog) {
    std::map<int, ControlLook> found;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        ControlLook look = {{}, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), 0};
        GetWindowRect(control, &look.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&look.rect), 2);
        LOGFONTW font = {};
        GetObjectW(look.font, sizeof font, &font);
        look.height = -font.lfHeight;
        found[GetDlgCtrlID(control)] = look;
    }
    return found;
}

// Told of a new scale as Windows tells it (its size there asked for first),
// the dialog takes the size it answered, lays its controls out at their
// size of 100 % grown in proportion, in fonts made again at that scale (the
// ones they had deleted), and every text fits its box; back at 100 % it is
// as it opened.
void expectScalesWell(HWND dialog) {
    const std::map<int, ControlLook> opened = looks(dialog);
    for (const int id : {IDC_PASSWORD_ENTRY, IDC_PASSWORD_CONFIRM, IDC_CONFIG_PASSWORD}) {
        SetDlgItemTextW(dialog, id, L"Abcdefghijkl");
    }
    const wchar_t* figures[] = {L"9999", L"5000", L"2000", L"1000", L"8888", L"4444", L"7777", L"6666", L"3333", L"10"};
    for (int k = 0; k < 10; ++k) SetDlgItemTextW(dialog, IDC_FIGURE_FIRST + k, figures[k]);
    SetDlgItemTextW(dialog, IDC_WINNING_FIGURE, L"9999");
    SetDlgItemTextW(dialog, IDC_GAMES, L"10");
    SetDlgItemTextW(dialog, IDC_COMMENT, L"Enhorabuena, has ganado el premio de verdad: una cena para dos en tu sitio");
    std::map<int, ControlLook> before = opened;
    for (const int dpi : {120, 144, 168, 192, 96}) {
        RECT suggested;
        GetWindowRect(dialog, &suggested);
        SIZE answered = {};
        EXPECT_TRUE(SendMessageW(dialog, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                                 reinterpret_cast<LPARAM>(&answered)));
        suggested.right = suggested.left + answered.cx;
        suggested.bottom = suggested.top + answered.cy;
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT taken;
        GetWindowRect(dialog, &taken);
        EXPECT_EQ(std::make_pair(taken.right - taken.left, taken.bottom - taken.top),
                  std::make_pair(answered.cx, answered.cy))
            << dpi;
        const std::map<int, ControlLook> now = looks(dialog);
        for (const auto& [id, look] : now) {
            const ControlLook& first = opened.at(id);
            const LONG sides[] = {look.rect.left, look.rect.top, look.rect.right, look.rect.bottom};
            const LONG firstSides[] = {first.rect.left, first.rect.top, first.rect.right, first.rect.bottom};
            for (int side = 0; side < 4; ++side) EXPECT_NEAR(sides[side], firstSides[side] * dpi / 96, 2) << id;
            EXPECT_NEAR(look.height, first.height * dpi / 96, 1) << id << " at " << dpi;
            EXPECT_EQ(GetObjectType(before.at(id).font), 0u) << id << ": the font of the scale before is kept";
            const TextFit fit = textFit(GetDlgItem(dialog, id));
            EXPECT_TRUE(fit.fits()) << id << " at " << dpi << ": " << fit.needed.cx << " x " << fit.needed.cy
                                    << " in " << fit.room.cx << " x " << fit.room.cy;
        }
        before = now;
    }
    for (const auto& [id, look] : before) {
        EXPECT_TRUE(EqualRect(&look.rect, &opened.at(id).rect)) << id << ": not as it opened";
    }
}

// The fonts held when the dialog closes go with it.
void expectFontsGone(const std::map<int, ControlLook>& last) {
    for (const auto& [id, look] : last) EXPECT_EQ(GetObjectType(look.font), 0u) << id << ": its font outlived it";
}

}  // namespace

TEST(SetupDialogs, AtEachScaleTheTextsFitInFontsOfThatScale) {
    std::map<int, ControlLook> last;
    const auto check = [&last](HWND dialog) {
        expectScalesWell(dialog);
        last = looks(dialog);
    };
    withDialogOpen(editionTexts.passwordTitle, [] { showPasswordDialog(nullptr); }, check);
    expectFontsGone(last);
    withDialogOpen(editionTexts.configTitle, [] { showConfigDialog(nullptr); }, check);
    expectFontsGone(last);
}
