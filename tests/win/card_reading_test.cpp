#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "config/game_config.h"
#include "game/card_layout.h"
#include "game/card_control.h"
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
    LONG state(LONG id) const {
        VARIANT state;
        VariantInit(&state);
        return SUCCEEDED(object->get_accState(childId(id), &state)) ? state.lVal : -1;
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

// The star as it should read, uncovered or not: its figure on the card on
// screen.
std::wstring expectedStar(LONG id, bool uncovered, bool playable, bool focused) {
    const int column = (id - 1) % 3, row = (id - 1) / 3;
    const std::wstring value =
        uncovered ? std::to_wstring(shownCard().figures[column][row]) + words.currency : words.covered;
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

// The elements that events of that kind named since the last clear.
std::vector<LONG> heardOf(DWORD kind) {
    dispatchWaiting();
    std::vector<LONG> elements;
    for (const auto& event : heard) {
        if (event.first == kind) elements.push_back(event.second);
    }
    return elements;
}

const std::vector<LONG> everyStar = {1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<LONG> none;
const std::vector<LONG> theCard = {CHILDID_SELF};

// What a reader was told by one step, by kind of event.
struct Told {
    std::vector<LONG> reorder, name, description, state, value, focus;
};

void expectTold(const Told& told, const char* step) {
    EXPECT_EQ(heardOf(EVENT_OBJECT_REORDER), told.reorder) << step;
    EXPECT_EQ(heardOf(EVENT_OBJECT_NAMECHANGE), told.name) << step;
    EXPECT_EQ(heardOf(EVENT_OBJECT_DESCRIPTIONCHANGE), told.description) << step;
    EXPECT_EQ(heardOf(EVENT_OBJECT_STATECHANGE), told.state) << step;
    EXPECT_EQ(heardOf(EVENT_OBJECT_VALUECHANGE), told.value) << step;
    EXPECT_EQ(heardOf(EVENT_OBJECT_FOCUS), told.focus) << step;
    heard.clear();
}

}  // namespace

// Each star read as a series goes, as a reader reads it: its name in reading
// order, covered or the figure of the card on screen with the currency,
// whether it can be pressed and whether it has the focus; what the card
// and its stars say of the game and, only once won, of the prize; all of it
// from the card on screen, never from the live set-up; and the events a
// reader hears: of each thing that now reads otherwise, once, and of
// nothing else.
TEST(CardReading, EachStarReadsWhatTheCardShows) {
    configure("3", "Enhorabuena!");
    resetSeries();
    // What a reader was last told: the card not in play.
    setCardDpi(cardWindow().card, fullScaleDpi);
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
        if (star) said[static_cast<std::size_t>(star)] = filled(words.game, game, 3);
        return said;
    };
    auto stars = [&](std::vector<LONG> uncoveredStars, bool playable, LONG focused) {
        for (LONG id = 1; id <= 9; ++id) {
            const bool uncovered = std::find(uncoveredStars.begin(), uncoveredStars.end(), id) != uncoveredStars.end();
            EXPECT_EQ(card.star(id), expectedStar(id, uncovered, playable, id == focused)) << id;
        }
    };

    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, listen,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    // Play with the focus elsewhere: the stars come, the card takes the
    // focus, and its marked star tells the game.
    SetFocus(nullptr);
    dispatchWaiting();
    heard.clear();
    startCard(cardWindow().window);
    EXPECT_EQ(card.count(), 9);
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 1, 3));
    stars({}, true, 1);
    EXPECT_EQ(descriptions(), onlyTheGame(1, 1));
    expectTold({theCard, theCard, none, none, none, {1}}, "Play");

    // The focus and the game's words follow the mark; where the mark stays
    // at the edge a reader hears nothing.
    for (WPARAM code : {VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_UP, VK_UP}) key(code);
    EXPECT_EQ(card.focus(), 3);
    EXPECT_EQ(descriptions(), onlyTheGame(3, 1));
    expectTold({none, none, {1, 2, 2, 5, 5, 6, 3, 6}, none, none, {2, 5, 6, 3}}, "arrows");

    // A default action presses as a posted click, which moves the mark to
    // its star; the first uncover takes the game's words away.
    EXPECT_EQ(card.object->accDoDefaultAction(childId(8)), S_OK);
    stars({}, true, 3);
    dispatchWaiting();
    stars({8}, true, 8);
    EXPECT_EQ(descriptions(), onlyTheGame(0, 1));
    expectTold({none, none, {3}, none, {8}, {8}}, "the first uncover");

    // The losing card in its pause: its own figures, nothing to press, the
    // focus on the card itself, which says it has it.
    for (LONG id = 1; id <= 9; ++id) card.object->accDoDefaultAction(childId(id));
    dispatchWaiting();
    stars(everyStar, false, 0);
    EXPECT_EQ(card.focus(), CHILDID_SELF);
    EXPECT_EQ(card.state(CHILDID_SELF), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 1, 3));
    EXPECT_EQ(descriptions(), onlyTheGame(0, 1));
    // The mark went to each star pressed, but the ninth began the pause.
    expectTold({none, none, none, everyStar, {1, 2, 3, 4, 5, 6, 7, 9}, {1, 2, 3, 4, 5, 6, 7, 8, CHILDID_SELF}},
               "the losing card");

    // Its time runs out: the next game's card, its game told.
    waitOutThePause();
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 2, 3));
    stars({}, true, 1);
    EXPECT_EQ(descriptions(), onlyTheGame(1, 2));
    expectTold({none, theCard, {1}, everyStar, everyStar, {1}}, "the pause's end");

    // Play in the next pause brings one card, told once.
    for (LONG id = 1; id <= 9; ++id) card.object->accDoDefaultAction(childId(id));
    dispatchWaiting();
    heard.clear();
    startCard(cardWindow().window);
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 3, 3));
    stars({}, true, 1);
    expectTold({none, theCard, {1}, everyStar, everyStar, {1}}, "Play in the pause");

    // Set up: the card offers no star until Play.
    deactivateCard(cardWindow().window);
    EXPECT_EQ(card.count(), 0);
    EXPECT_EQ(card.name(CHILDID_SELF), words.idle);
    expectTold({theCard, theCard, none, none, none, theCard}, "Set up");

    // The card reads as it was dealt, whatever the set-up says meanwhile (a
    // refused Accept changes it): game 3 of 3 is the winning card.
    startCard(cardWindow().window);
    configure("5", "Otro comentario");
    EXPECT_EQ(card.name(CHILDID_SELF), filled(words.game, 3, 3));
    configure("2", "Enhorabuena!");
    dispatchWaiting();
    heard.clear();
    for (LONG id = 1; id <= 9; ++id) card.object->accDoDefaultAction(childId(id));
    dispatchWaiting();
    configure("3", "Cambiado");
    // The won card: every star shows its figure and takes no press, the
    // red ones say so, and the card carries the comment it was won with,
    // its focus on the card itself.
    EXPECT_EQ(card.name(CHILDID_SELF), words.won);
    EXPECT_EQ(card.description(CHILDID_SELF), L"Enhorabuena!");
    EXPECT_EQ(card.focus(), CHILDID_SELF);
    stars(everyStar, false, 0);
    std::vector<LONG> red;
    for (LONG id = 1; id <= 9; ++id) {
        if (shownCard().winningCells[(id - 1) % 3][(id - 1) / 3]) red.push_back(id);
        EXPECT_EQ(card.description(id), shownCard().winningCells[(id - 1) % 3][(id - 1) / 3] ? words.winning : L"")
            << id;
    }
    EXPECT_EQ(red.size(), 3u);
    // The first press took the game's words away; the last one brought the
    // comment and the red figures' words.
    std::vector<LONG> described = {1, CHILDID_SELF};
    described.insert(described.end(), red.begin(), red.end());
    expectTold({none, theCard, described, everyStar, everyStar, {2, 3, 4, 5, 6, 7, 8, CHILDID_SELF}},
               "the winning card");
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
    // A request with a place for an answer missing, or for an unknown
    // direction, is refused; the places given are cleared all the same.
    BSTR file = SysAllocString(L"stale");
    const BSTR staleFile = file;
    EXPECT_EQ(held.object->get_accHelpTopic(&file, childId(CHILDID_SELF), nullptr), E_POINTER);
    EXPECT_EQ(file, nullptr);
    SysFreeString(staleFile);
    VARIANT end;
    end.vt = VT_I4;
    end.lVal = 3;
    EXPECT_EQ(held.object->accNavigate(NAVDIR_LASTCHILD + 1, childId(CHILDID_SELF), &end), E_INVALIDARG);
    EXPECT_EQ(end.vt, VT_EMPTY);
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
    resize(before.right * dpi / fullScaleDpi, before.bottom * dpi / fullScaleDpi);
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
    setCardDpi(cardWindow().card, fullScaleDpi);
    resize(before.right, before.bottom);
    EXPECT_EQ(card.star(6), expectedStar(6, true, true, true));
    EXPECT_EQ(shownCard().uncoveredCount, 1);
}
