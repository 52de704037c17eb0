#include "card_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <cwchar>
#include <string>

#include "../config/game_config.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "card_layout.h"
#include "card_rules.h"
#include "card_view.h"

namespace {

// The window property that holds the card control's object.
const wchar_t objectProperty[] = L"QuimbaCardObject";
// Whether this thread has opened COM for a reader.
bool comOpen;

// Stars are the children 1 to 9, in reading order: row by row, left to right.
constexpr LONG starCount = cardColumns * cardRows;
CellHit starOf(LONG child) {
    const int place = static_cast<int>(child) - 1;
    return CellHit{place % cardColumns + 1, place / cardColumns + 1};
}
LONG childOf(CellHit star) { return (star.row - 1) * cardColumns + star.column; }
// The child that holds the focus while the card has it.
LONG focusedChild() {
    const CellHit star = focusedStar(cardSeries());
    return star.onCard() ? childOf(star) : CHILDID_SELF;
}

std::wstring filledIn(const wchar_t* format, int first, int second) {
    wchar_t text[128];
    const int length = std::swprintf(text, sizeof text / sizeof text[0], format, first, second);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring(format);
}

// A reader's places for answers start empty, as COM asks, so that a
// failure never leaves something there that looks like an answer.
void clearOut(BSTR* out) { *out = nullptr; }
void clearOut(VARIANT* out) { VariantInit(out); }
void clearOut(IDispatch** out) { *out = nullptr; }
void clearOut(LONG* out) { *out = 0; }

HRESULT giveText(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT giveNoText(BSTR* out) {
    *out = nullptr;
    return S_FALSE;
}

// "Card, game 2 of 3": the game of the card on screen.
std::wstring gameWords(const SeriesState& series) {
    return filledIn(editionTexts.cardInPlayName, series.shownGame, gamesInSeries(gameConfig));
}

void giveChild(LONG child, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = child;
}

// The card control's accessible object. It keeps nothing of the card but
// the control's handle, and reads the rest where the card lives.
class CardObject final : public IAccessible {
public:
    explicit CardObject(HWND card) : card_(card) {}
    CardObject(const CardObject&) = delete;
    CardObject& operator=(const CardObject&) = delete;

    // The control is being destroyed: every call answers with an error from
    // now on, and COM lets go of the object once no reader holds it.
    void retire() {
        card_ = nullptr;
        Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // Readers use the interface's own methods, not a type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result) VariantInit(result);
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (const HRESULT known = ready_(parent)) return known;
        return AccessibleObjectFromWindow(card_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (const HRESULT known = ready_(count)) return known;
        *count = starsOnOffer(cardSeries()) ? starCount : 0;
        return S_OK;
    }
    // The stars are simple elements, not objects of their own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        LONG star;
        if (const HRESULT known = star_(child, star, object)) return known;
        return star == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        LONG star;
        if (const HRESULT known = star_(child, star, name)) return known;
        if (star != CHILDID_SELF) {
            return giveText(filledIn(editionTexts.starName, starOf(star).row, starOf(star).column), name);
        }
        const SeriesState& series = cardSeries();
        if (cardInPlay(series)) return giveText(gameWords(series), name);
        return giveText(series.outcome == CardOutcome::won ? editionTexts.cardWonName : editionTexts.cardIdleName,
                        name);
    }
    // A star reads as covered, or as the figure that the card shows on it.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        LONG star;
        if (const HRESULT known = star_(child, star, value)) return known;
        if (star == CHILDID_SELF) return giveNoText(value);
        const CellHit cell = starOf(star);
        const bool uncovered = cardSeries().cardCells[cell.column - 1][cell.row - 1].uncovered != 0;
        return giveText(uncovered ? starFigureText(cell) : std::wstring(editionTexts.starCovered), value);
    }
    // The won card carries the surprise comment, and its three stars that
    // turned red say so; nothing of either shows before the win. The marked
    // star of a new card tells which game it is, as the reader moves to it.
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        LONG star;
        if (const HRESULT known = star_(child, star, description)) return known;
        const SeriesState& series = cardSeries();
        if (star != CHILDID_SELF && freshCard(series) && star == childOf(series.mark)) {
            return giveText(gameWords(series), description);
        }
        if (series.outcome != CardOutcome::won) return giveNoText(description);
        if (star != CHILDID_SELF) {
            const CellHit cell = starOf(star);
            if (!dealtSeries().winningCells[cell.column - 1][cell.row - 1]) return giveNoText(description);
            return giveText(editionTexts.winningStar, description);
        }
        if (gameConfig.surpriseComment.empty()) return giveNoText(description);
        return giveText(wideText(gameConfig.surpriseComment.c_str()), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        LONG star;
        if (const HRESULT known = star_(child, star, role)) return known;
        giveChild(star == CHILDID_SELF ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_PUSHBUTTON, role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        LONG star;
        if (const HRESULT known = star_(child, star, state)) return known;
        LONG flags = STATE_SYSTEM_FOCUSABLE;
        if (star != CHILDID_SELF && !starsPressable(cardSeries())) flags |= STATE_SYSTEM_UNAVAILABLE;
        if (GetFocus() == card_ && focusedChild() == star) flags |= STATE_SYSTEM_FOCUSED;
        giveChild(flags, state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        LONG star;
        if (const HRESULT known = star_(child, star, help)) return known;
        return giveNoText(help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (const HRESULT known = ready_(file, topic)) return known;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        LONG star;
        if (const HRESULT known = star_(child, star, shortcut)) return known;
        return giveNoText(shortcut);
    }
    // The marked star while the card is played and has the focus; the card
    // itself when it has the focus and offers nothing to press.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (const HRESULT known = ready_(focus)) return known;
        if (GetFocus() != card_) return S_FALSE;
        giveChild(focusedChild(), focus);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (const HRESULT known = ready_(selection)) return known;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        LONG star;
        if (const HRESULT known = star_(child, star, action)) return known;
        if (star == CHILDID_SELF || !starsPressable(cardSeries())) return giveNoText(action);
        return giveText(editionTexts.uncoverAction, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
        return card_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    // On the screen: a star where it is drawn, covered or uncovered.
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        LONG star;
        if (const HRESULT known = ready_(left, top, width, height)) return known;
        if (const HRESULT known = star_(child, star)) return known;
        RECT area;
        if (star == CHILDID_SELF) {
            GetClientRect(card_, &area);
        } else {
            const CellHit cell = starOf(star);
            const int x = cellX(cell.column) -
                          (cardSeries().cardCells[cell.column - 1][cell.row - 1].uncovered ? uncoveredShift : 0);
            const int dpi = cardControlDpi();
            area = RECT{toScreen(x, dpi), toScreen(cellY(cell.row), dpi), toScreen(x + starSize, dpi),
                        toScreen(cellY(cell.row) + starSize, dpi)};
        }
        MapWindowPoints(card_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        LONG from;
        if (const HRESULT known = star_(start, from, end)) return known;
        LONG to = 0;
        if (from == CHILDID_SELF) {
            if (!starsOnOffer(cardSeries())) return S_FALSE;
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            if (direction == NAVDIR_LASTCHILD) to = starCount;
        } else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            return E_INVALIDARG;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
            to = from + (direction == NAVDIR_NEXT ? 1 : -1);
        } else if (direction >= NAVDIR_UP && direction <= NAVDIR_RIGHT) {
            const CardKey keys[] = {CardKey::up, CardKey::down, CardKey::left, CardKey::right};
            to = childOf(markAfterKey(starOf(from), keys[direction - NAVDIR_UP]));
            if (to == from) to = 0;
        }
        if (to < 1 || to > starCount) return S_FALSE;
        giveChild(to, end);
        return S_OK;
    }
    // The star whose band holds the point, as a press there would uncover it.
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (const HRESULT known = ready_(child)) return known;
        POINT at = {x, y};
        ScreenToClient(card_, &at);
        RECT client;
        GetClientRect(card_, &client);
        if (!PtInRect(&client, at)) return S_FALSE;
        const CellHit cell = cellAt(static_cast<unsigned>(toCanvas(at.x, cardControlDpi())),
                                    static_cast<unsigned>(toCanvas(at.y, cardControlDpi())));
        giveChild(starsOnOffer(cardSeries()) && cell.onCard() ? childOf(cell) : CHILDID_SELF, child);
        return S_OK;
    }
    // A press on the star, posted as a click arrives: the reader is never
    // held by the drawing, the sound or the pause after a losing card.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        LONG star;
        if (const HRESULT known = star_(child, star)) return known;
        if (star == CHILDID_SELF || !starsPressable(cardSeries())) return DISP_E_MEMBERNOTFOUND;
        const CellHit cell = starOf(star);
        const LPARAM at = MAKELPARAM(toScreen(cellX(cell.column) + starSize / 2, cardControlDpi()),
                                     toScreen(cellY(cell.row) + starSize / 2, cardControlDpi()));
        PostMessageW(card_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(card_, WM_LBUTTONUP, 0, at);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~CardObject() = default;

    // Whether the object can answer: S_OK with every place for an answer
    // given and cleared, or the error to answer with.
    template <typename... Out>
    HRESULT ready_(Out*... out) const {
        if (((out == nullptr) || ...)) return E_POINTER;
        (clearOut(out), ...);
        return card_ ? S_OK : RPC_E_DISCONNECTED;
    }
    // Which of the card's elements a reader means: S_OK and the child id
    // (CHILDID_SELF for the card), or the error to answer with.
    template <typename... Out>
    HRESULT star_(const VARIANT& child, LONG& star, Out*... out) const {
        if (const HRESULT known = ready_(out...)) return known;
        if (child.vt != VT_I4) return E_INVALIDARG;
        star = child.lVal;
        const LONG last = starsOnOffer(cardSeries()) ? starCount : 0;
        return star >= CHILDID_SELF && star <= last ? S_OK : E_INVALIDARG;
    }

    LONG references_ = 1;
    HWND card_;
};

}  // namespace

LRESULT answerCardObject(HWND card, WPARAM flags, LPARAM objectId) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT) return 0;
    auto* object = static_cast<CardObject*>(GetPropW(card, objectProperty));
    if (!object) {
        // COM carries the object to a reader in another process, in this
        // thread's apartment, so that every call reads the card on the
        // thread that changes it. It is opened at the first request, once
        // for the program: a player without a reader never pays for it.
        if (!comOpen) {
            if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 0;
            comOpen = true;
        }
        object = new CardObject(card);
        SetPropW(card, objectProperty, object);
    }
    return LresultFromObject(IID_IAccessible, flags, object);
}

void retireCardObject(HWND card) {
    if (auto* object = static_cast<CardObject*>(RemovePropW(card, objectProperty))) object->retire();
}

void closeCardReading() {
    if (comOpen) CoUninitialize();
    comOpen = false;
}

void announceFocus(HWND card) {
    if (GetFocus() == card) NotifyWinEvent(EVENT_OBJECT_FOCUS, card, OBJID_CLIENT, focusedChild());
}

void announceStars(HWND card) {
    for (LONG star = 1; star <= starCount; ++star) {
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, card, OBJID_CLIENT, star);
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, card, OBJID_CLIENT, star);
    }
}

void announceUncovered(HWND card, int column, int row) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, card, OBJID_CLIENT, childOf(CellHit{column, row}));
}

void announceCard(HWND card) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, card, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, card, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, card, OBJID_CLIENT, CHILDID_SELF);
    announceFocus(card);
}
