#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "config/game_config.h"
#include "game/card_layout.h"
#include "game/card_view.h"
#include "resources/resource.h"
#include "tests/accessible_client.h"
#include "card_window.h"

namespace {

// The words a reader hears in the edition under test, written out here.
struct Words {
    const wchar_t* idle;
    const wchar_t* game;  // of its number and the series' length
    const wchar_t* won;
    const wchar_t* star;  // of its row and column
    const wchar_t* covered;
    const wchar_t* winning;
    const wchar_t* currency;
    const wchar_t* uncover;
};

const Words spanish = {L"Cartón sin jugar",
                       L"Cartón, partida %d de %d",
                       L"Cartón ganador",
                       L"Fila %d, columna %d",
                       L"cubierta",
                       L"cifra ganadora",
                       L" €",
                       L"Destapar"};
const Words english = {L"Card not in play",
                       L"Card, game %d of %d",
                       L"Winning card",
                       L"Row %d, column %d",
                       L"covered",
                       L"winning figure",
                       L" $",
                       L"Uncover"};
const Words& words = std::string(TESTED_EDITION) == "en" ? english : spanish;

// A text property, "(error)" where it fails.
template <typename Getter>
std::wstring text(Getter get) {
    const AccessibleText read = readText(get);
    return FAILED(read.result) ? L"(error)" : read.text;
}

// The card control's object, as a reader gets it; released at the end.
struct CardObject {
    IAccessible* object = nullptr;
    explicit CardObject(HWND card) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        AccessibleObjectFromWindow(card, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&object));
    }
    ~CardObject() {
        if (object) object->Release();
        CoUninitialize();
    }
    CardObject(const CardObject&) = delete;
    CardObject& operator=(const CardObject&) = delete;

    LONG count() const {
        LONG n = 0;
        return SUCCEEDED(object->get_accChildCount(&n)) ? n : -1;
    }
    std::wstring name(LONG id) const {
        return text([&](BSTR* v) { return object->get_accName(childId(id), v); });
    }
    std::wstring description(LONG id) const {
        return text([&](BSTR* v) { return object->get_accDescription(childId(id), v); });
    }
    LONG focus() const {
        VARIANT v;
        VariantInit(&v);
        return object->get_accFocus(&v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
    // What a reader says of a star: its name, value, default action, role
    // and state.
    std::wstring star(LONG id) const {
        VARIANT role, state;
        VariantInit(&role);
        VariantInit(&state);
        const std::wstring said = name(id) + L" | " +
                                  text([&](BSTR* v) { return object->get_accValue(childId(id), v); }) + L" | " +
                                  text([&](BSTR* v) { return object->get_accDefaultAction(childId(id), v); });
        object->get_accRole(childId(id), &role);
        object->get_accState(childId(id), &state);
        return said + L" | " + std::to_wstring(role.lVal) + L" | " + std::to_wstring(state.lVal);
    }
};

std::wstring filled(const wchar_t* format, int first, int second) {
    wchar_t text[64];
    std::swprintf(text, 64, format, first, second);
    return text;
}

// The star as it should read, uncovered or not: its figure in the game
// dealt for the card on screen.
std::wstring expectedStar(LONG id, int game, bool uncovered, bool playable, bool focused) {
    const int column = (id - 1) % 3, row = (id - 1) / 3;
    const std::wstring value = uncovered ? std::to_wstring(dealtSeries().seriesFigures[game - 1][column][row]) +
                                               words.currency
                                         : words.covered;
    const LONG state =
        STATE_SYSTEM_FOCUSABLE | (playable ? (focused ? STATE_SYSTEM_FOCUSED : 0) : STATE_SYSTEM_UNAVAILABLE);
    return filled(words.star, row + 1, column + 1) + L" | " + value + L" | " + (playable ? words.uncover : L"") +
           L" | " + std::to_wstring(ROLE_SYSTEM_PUSHBUTTON) + L" | " + std::to_wstring(state);
}

// The events that tell a reader what changed on the card.
std::vector<std::pair<DWORD, LONG>> heard;

void CALLBACK listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == cardWindow().card && object == OBJID_CLIENT) heard.emplace_back(event, child);
}

// The stars that events of that kind named since the last call.
std::vector<LONG> heardOf(DWORD kind) {
    dispatchWaiting();
    std::vector<LONG> stars;
    for (const auto& event : heard) {
        if (event.first == kind) stars.push_back(event.second);
    }
    return stars;
}

// The star that the last event of that kind named, -1 where none came.
LONG lastHeard(DWORD kind) {
    const std::vector<LONG> stars = heardOf(kind);
    return stars.empty() ? -1 : stars.back();
}

const std::vector<LONG> everyStar = {1, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

// Each star read as a series goes, as a reader reads it: its name in reading
// order, covered or the figure of the card on screen with the currency,
// whether it can be pressed and whether it has the focus; what the card
// and its stars say of the game and, only once won, of the prize; and the
// events a reader hears.
TEST(CardReading, EachStarReadsWhatTheCardShows) {
    configure("2", "Enhorabuena!");
    resetSeries();
    CardObject card(cardWindow().card);
    ASSERT_NE(card.object, nullptr);
    EXPECT_EQ(card.count(), 0);
    EXPECT_EQ(card.name(CHILDID_SELF), words.idle);
    auto descriptions = [&] {
        std::vector<std::wstring> said;
        for (LONG id = 0; id <= 9; ++id) said.push_back(card.description(id));
        return said;
    };
    // Nothing said but, on the marked star of a new card, its game.
    auto onlyTheGame = [](LONG star, int game) {
        std::vector<std::wstring> said(10);
        if (star) said[static_cast<std::size_t>(star)] = filled(words.game, game, 2);
        return said;
    };

    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, listen,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    // Play with the focus elsewhere: the card takes it, and its marked
    // star tells the game.
    SetFocus(nullptr);
    dispatchWaiting();
    heard.clear();
    startCard(cardWindow().window);
    EXPECT_EQ(card.count(), 9);
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 1, 2));
    for (LONG id = 1; id <= 9; ++id) EXPECT_EQ(card.star(id), expectedStar(id, 1, false, true, id == 1)) << id;
    EXPECT_EQ(descriptions(), onlyTheGame(1, 1));
    EXPECT_EQ(lastHeard(EVENT_OBJECT_FOCUS), 1);
    EXPECT_EQ(heardOf(EVENT_OBJECT_DESCRIPTIONCHANGE), (std::vector<LONG>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(heardOf(EVENT_OBJECT_STATECHANGE), everyStar);
    heard.clear();

    // The focus follows the mark, and a reader hears nothing where the mark
    // stays at the edge; a default action presses as a posted click, which
    // moves the mark to its star.
    for (WPARAM code : {VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_UP, VK_UP}) key(code);
    EXPECT_EQ(card.focus(), 3);
    EXPECT_EQ(heardOf(EVENT_OBJECT_FOCUS), (std::vector<LONG>{2, 5, 6, 3}));
    EXPECT_EQ(card.object->accDoDefaultAction(childId(8)), S_OK);
    EXPECT_EQ(card.star(8), expectedStar(8, 1, false, true, false));
    heard.clear();
    dispatchWaiting();
    for (LONG id = 1; id <= 9; ++id) EXPECT_EQ(card.star(id), expectedStar(id, 1, id == 8, true, id == 8)) << id;
    EXPECT_EQ(heard, (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_FOCUS, 8}, {EVENT_OBJECT_VALUECHANGE, 8}}));
    EXPECT_EQ(descriptions(), onlyTheGame(0, 1));

    // The losing card in its pause: its own figures, nothing to press, the
    // focus on the card; then the next game's card, its game told.
    for (LONG id = 1; id <= 9; ++id) card.object->accDoDefaultAction(childId(id));
    heard.clear();
    dispatchWaiting();
    for (LONG id = 1; id <= 9; ++id) EXPECT_EQ(card.star(id), expectedStar(id, 1, true, false, false)) << id;
    EXPECT_EQ(card.focus(), CHILDID_SELF);
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 1, 2));
    EXPECT_EQ(descriptions(), onlyTheGame(0, 1));
    EXPECT_EQ(heardOf(EVENT_OBJECT_STATECHANGE), everyStar);
    EXPECT_EQ(heardOf(EVENT_OBJECT_DESCRIPTIONCHANGE), everyStar);
    EXPECT_EQ(lastHeard(EVENT_OBJECT_FOCUS), CHILDID_SELF);
    heard.clear();
    waitOutThePause();
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 2, 2));
    for (LONG id = 1; id <= 9; ++id) EXPECT_EQ(card.star(id), expectedStar(id, 2, false, true, id == 1)) << id;
    EXPECT_EQ(descriptions(), onlyTheGame(1, 2));
    EXPECT_EQ(lastHeard(EVENT_OBJECT_FOCUS), 1);
    EXPECT_EQ(heardOf(EVENT_OBJECT_DESCRIPTIONCHANGE), (std::vector<LONG>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(heardOf(EVENT_OBJECT_STATECHANGE), everyStar);

    // Set up: the card offers no star until Play.
    deactivateCard(cardWindow().window);
    EXPECT_EQ(card.count(), 0);
    EXPECT_EQ(card.name(CHILDID_SELF), words.idle);

    // The won card, game 2: every star shows its figure and takes no press,
    // the red ones say so, and the card carries the surprise comment, its
    // focus on the card itself. Set up leaves it a picture until Play.
    startCard(cardWindow().window);
    dispatchWaiting();
    heard.clear();
    for (LONG id = 1; id <= 9; ++id) card.object->accDoDefaultAction(childId(id));
    dispatchWaiting();
    EXPECT_EQ(card.name(CHILDID_SELF), words.won);
    EXPECT_EQ(card.description(CHILDID_SELF), L"Enhorabuena!");
    EXPECT_EQ(card.focus(), CHILDID_SELF);
    EXPECT_EQ(heardOf(EVENT_OBJECT_STATECHANGE), everyStar);
    EXPECT_EQ(heardOf(EVENT_OBJECT_DESCRIPTIONCHANGE), (std::vector<LONG>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    for (LONG id = 1; id <= 9; ++id) {
        EXPECT_EQ(card.star(id), expectedStar(id, 2, true, false, false)) << id;
        const bool red = dealtSeries().winningCells[(id - 1) % 3][(id - 1) / 3] != 0;
        EXPECT_EQ(card.description(id), red ? words.winning : L"") << id;
    }
    EXPECT_EQ(card.object->accDoDefaultAction(childId(1)), DISP_E_MEMBERNOTFOUND);
    deactivateCard(cardWindow().window);
    EXPECT_EQ(card.count(), 0);
    EXPECT_EQ(card.name(CHILDID_SELF), words.idle);
    UnhookWinEvent(hook);
}

// A reader may hold the object after the card has gone: it then answers
// with errors.
TEST(CardReading, AnObjectHeldPastItsCardAnswersWithErrors) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND card = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 100, 100, window,
                                reinterpret_cast<HMENU>(IDC_CARD), nullptr, nullptr);
    installCardControlProc(card);
    CardObject held(card);
    ASSERT_NE(held.object, nullptr);
    EXPECT_NE(held.name(CHILDID_SELF), L"(error)");
    DestroyWindow(window);
    EXPECT_EQ(held.name(CHILDID_SELF), L"(error)");
    EXPECT_EQ(held.count(), -1);
    EXPECT_EQ(held.focus(), -1);
    EXPECT_TRUE(FAILED(held.object->accDoDefaultAction(childId(1))));
    // A failure leaves nothing in the places for answers.
    BSTR said = SysAllocString(L"stale");
    const BSTR stale = said;
    VARIANT role;
    role.vt = VT_I4;
    role.lVal = 7;
    LONG left = 5, top = 5, width = 5, height = 5;
    EXPECT_TRUE(FAILED(held.object->get_accValue(childId(1), &said)));
    EXPECT_TRUE(FAILED(held.object->get_accRole(childId(1), &role)));
    EXPECT_TRUE(FAILED(held.object->accLocation(&left, &top, &width, &height, childId(1))));
    EXPECT_EQ(said, nullptr);
    EXPECT_EQ(role.vt, VT_EMPTY);
    EXPECT_EQ(left | top | width | height, 0);
    SysFreeString(stale);
}

// At 150 % a reader finds each star where it is drawn, and its default
// action presses that star.
TEST(CardReading, AtAnotherScaleStarsAreWhereTheyAreDrawn) {
    const int dpi = 144;
    configure("1");
    resetSeries();
    // The control grows with its dialog units at that scale.
    RECT before;
    GetClientRect(cardWindow().card, &before);
    const auto resize = [](int width, int height) {
        SetWindowPos(cardWindow().card, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(before.right * dpi / canvasDpi, before.bottom * dpi / canvasDpi);
    setCardDpi(cardWindow().card, dpi);
    startCard(cardWindow().window);
    CardObject card(cardWindow().card);
    POINT origin = {0, 0};
    ClientToScreen(cardWindow().card, &origin);
    for (LONG id = 1; id <= 9; ++id) {
        const int x = cellX((id - 1) % 3 + 1), y = cellY((id - 1) / 3 + 1);
        LONG left, top, width, height;
        ASSERT_EQ(card.object->accLocation(&left, &top, &width, &height, childId(id)), S_OK);
        EXPECT_EQ((std::vector<LONG>{left - origin.x, top - origin.y, width, height}),
                  (std::vector<LONG>{toScreen(x, dpi), toScreen(y, dpi), toScreen(x + starSize, dpi) - toScreen(x, dpi),
                                     toScreen(y + starSize, dpi) - toScreen(y, dpi)}))
            << id;
        VARIANT hit;
        card.object->accHitTest(origin.x + toScreen(x + 90, dpi), origin.y + toScreen(y + 90, dpi), &hit);
        EXPECT_EQ(hit.lVal, id);
    }
    card.object->accDoDefaultAction(childId(6));
    dispatchWaiting();
    setCardDpi(cardWindow().card, canvasDpi);
    resize(before.right, before.bottom);
    EXPECT_EQ(card.star(6), expectedStar(6, 1, true, true, true));
    EXPECT_EQ(cardSeries().uncoveredCount, 1);
}
