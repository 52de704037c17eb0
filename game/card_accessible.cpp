#include "card_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <cwchar>
#include <string>

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
LONG focusedChild(const CardShown& card) {
    const CellHit star = focusedStar(card);
    return star.onCard() ? childOf(star) : CHILDID_SELF;
}

std::wstring filledIn(const wchar_t* format, int first, int second) {
    wchar_t text[128];
    const int length = std::swprintf(text, sizeof text / sizeof text[0], format, first, second);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring(format);
}

// What a reader reads of the card and its stars, from the record of the card
// on screen alone: the object's answers and the events that tell of their
// changes both come from here. An empty text is no text.
LONG childCount(const CardShown& card) { return starsOnOffer(card) ? starCount : 0; }

// "Card, game 2 of 3": the game that the card on screen was dealt for, in
// the series it was dealt in.
std::wstring gameWords(const CardShown& card) {
    return filledIn(editionTexts.cardInPlayName, card.game, card.seriesLength);
}

bool shownAsWon(const CardShown& card) { return cardWon(card) && !card.setAside; }

std::wstring nameOf(const CardShown& card, LONG child) {
    if (child != CHILDID_SELF) return filledIn(editionTexts.starName, starOf(child).row, starOf(child).column);
    if (cardInPlay(card)) return gameWords(card);
    return shownAsWon(card) ? editionTexts.cardWonName : editionTexts.cardIdleName;
}

// A star reads as covered, or as the figure that the card shows on it.
std::wstring valueOf(const CardShown& card, LONG child) {
    if (child == CHILDID_SELF) return std::wstring();
    const CellHit star = starOf(child);
    return uncovered(card, star) ? figureText(figureUnder(card, star), editionTexts.currencySuffix)
                                 : std::wstring(editionTexts.starCovered);
}

// The won card carries the surprise comment it was won with, and its three
// stars that turned red say so; nothing of either shows before the win.
// The marked star of a new card tells which game it is, as the reader
// moves to it.
std::wstring descriptionOf(const CardShown& card, LONG child) {
    if (child == CHILDID_SELF) return shownAsWon(card) ? wideText(card.comment.c_str()) : std::wstring();
    if (freshCard(card) && child == childOf(card.mark)) return gameWords(card);
    return winningStar(card, starOf(child)) ? std::wstring(editionTexts.winningStar) : std::wstring();
}

// The state of an element, but for whether it has the focus.
LONG stateOf(const CardShown& card, LONG child) {
    LONG flags = STATE_SYSTEM_FOCUSABLE;
    if (child != CHILDID_SELF && !starsPressable(card)) flags |= STATE_SYSTEM_UNAVAILABLE;
    return flags;
}

std::wstring actionOf(const CardShown& card, LONG child) {
    return child == CHILDID_SELF || !starsPressable(card) ? std::wstring() : std::wstring(editionTexts.uncoverAction);
}

// Everything a reader may have read of the card, at one moment.
struct Reading {
    LONG count = 0;
    std::wstring name;
    std::wstring description;
    std::wstring values[starCount];
    std::wstring descriptions[starCount];
    LONG states[starCount] = {};
    // The child that holds the focus, -1 while the card does not have it.
    LONG focus = -1;
};

Reading readingOf(HWND card) {
    const CardShown& shown = shownCard();
    Reading reading;
    reading.count = childCount(shown);
    reading.name = nameOf(shown, CHILDID_SELF);
    reading.description = descriptionOf(shown, CHILDID_SELF);
    for (LONG star = 1; star <= reading.count; ++star) {
        reading.values[star - 1] = valueOf(shown, star);
        reading.descriptions[star - 1] = descriptionOf(shown, star);
        reading.states[star - 1] = stateOf(shown, star);
    }
    reading.focus = GetFocus() == card ? focusedChild(shown) : -1;
    return reading;
}

// What a reader was last told of the card.
Reading told;

HRESULT giveText(const std::wstring& text, BSTR* out) {
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void giveChild(LONG child, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = child;
}

// A reader's places for answers start empty, as COM asks, so that a
// failure never leaves something there that looks like an answer.
void clearOut(BSTR* out) {
    if (out) *out = nullptr;
}
void clearOut(VARIANT* out) {
    if (out) VariantInit(out);
}
void clearOut(IDispatch** out) {
    if (out) *out = nullptr;
}
void clearOut(LONG* out) {
    if (out) *out = 0;
}

// The card control's accessible object. It keeps nothing of the card but
// the control's handle, and reads the rest in the record of the card on
// screen.
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
        *count = childCount(shownCard());
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
        return giveText(nameOf(shownCard(), star), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        LONG star;
        if (const HRESULT known = star_(child, star, value)) return known;
        return giveText(valueOf(shownCard(), star), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        LONG star;
        if (const HRESULT known = star_(child, star, description)) return known;
        return giveText(descriptionOf(shownCard(), star), description);
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
        LONG flags = stateOf(shownCard(), star);
        if (GetFocus() == card_ && focusedChild(shownCard()) == star) flags |= STATE_SYSTEM_FOCUSED;
        giveChild(flags, state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        LONG star;
        if (const HRESULT known = star_(child, star, help)) return known;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (const HRESULT known = ready_(file, topic)) return known;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        LONG star;
        if (const HRESULT known = star_(child, star, shortcut)) return known;
        return S_FALSE;
    }
    // The marked star while the card is played and has the focus; the card
    // itself when it has the focus and offers nothing to press.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (const HRESULT known = ready_(focus)) return known;
        if (GetFocus() != card_) return S_FALSE;
        giveChild(focusedChild(shownCard()), focus);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (const HRESULT known = ready_(selection)) return known;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        LONG star;
        if (const HRESULT known = star_(child, star, action)) return known;
        return giveText(actionOf(shownCard(), star), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
        return card_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    // On the screen: a star where it is drawn, covered or uncovered.
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        LONG star;
        if (const HRESULT known = star_(child, star, left, top, width, height)) return known;
        RECT area;
        if (star == CHILDID_SELF) {
            GetClientRect(card_, &area);
        } else {
            const CellHit cell = starOf(star);
            const int x = cellX(cell.column) - (uncovered(shownCard(), cell) ? uncoveredShift : 0);
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
        if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD) return E_INVALIDARG;
        LONG to = 0;
        if (from == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            if (direction == NAVDIR_LASTCHILD) to = childCount(shownCard());
        } else if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            return E_INVALIDARG;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
            to = from + (direction == NAVDIR_NEXT ? 1 : -1);
        } else {
            const CardKey keys[] = {CardKey::up, CardKey::down, CardKey::left, CardKey::right};
            to = childOf(markAfterKey(starOf(from), keys[direction - NAVDIR_UP]));
            if (to == from) to = 0;
        }
        if (to < 1 || to > childCount(shownCard())) return S_FALSE;
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
        giveChild(starsOnOffer(shownCard()) && cell.onCard() ? childOf(cell) : CHILDID_SELF, child);
        return S_OK;
    }
    // A press on the star, posted as a click arrives: the reader is never
    // held by the drawing, the sound or the pause after a losing card.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        LONG star;
        if (const HRESULT known = star_(child, star)) return known;
        if (star == CHILDID_SELF || !starsPressable(shownCard())) return DISP_E_MEMBERNOTFOUND;
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
    // given, or the error to answer with; the places given are cleared
    // either way.
    template <typename... Out>
    HRESULT ready_(Out*... out) const {
        (clearOut(out), ...);
        if (((out == nullptr) || ...)) return E_POINTER;
        return card_ ? S_OK : RPC_E_DISCONNECTED;
    }
    // Which of the card's elements a reader means: S_OK and the child id
    // (CHILDID_SELF for the card), or the error to answer with.
    template <typename... Out>
    HRESULT star_(const VARIANT& child, LONG& star, Out*... out) const {
        if (const HRESULT known = ready_(out...)) return known;
        if (child.vt != VT_I4) return E_INVALIDARG;
        star = child.lVal;
        return star >= CHILDID_SELF && star <= childCount(shownCard()) ? S_OK : E_INVALIDARG;
    }

    LONG references_ = 1;
    HWND card_;
};

void notify(HWND card, DWORD event, LONG child) { NotifyWinEvent(event, card, OBJID_CLIENT, child); }

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
    told.focus = GetFocus() == card ? focusedChild(shownCard()) : -1;
    if (told.focus != -1) notify(card, EVENT_OBJECT_FOCUS, told.focus);
}

void tellReader(HWND card) {
    const Reading now = readingOf(card);
    if (now.count != told.count) notify(card, EVENT_OBJECT_REORDER, CHILDID_SELF);
    if (now.name != told.name) notify(card, EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
    if (now.description != told.description) notify(card, EVENT_OBJECT_DESCRIPTIONCHANGE, CHILDID_SELF);
    for (LONG star = 1; star <= std::min(now.count, told.count); ++star) {
        const std::size_t at = static_cast<std::size_t>(star - 1);
        if (now.states[at] != told.states[at]) notify(card, EVENT_OBJECT_STATECHANGE, star);
        if (now.values[at] != told.values[at]) notify(card, EVENT_OBJECT_VALUECHANGE, star);
        if (now.descriptions[at] != told.descriptions[at]) notify(card, EVENT_OBJECT_DESCRIPTIONCHANGE, star);
    }
    if (now.focus != -1 && now.focus != told.focus) notify(card, EVENT_OBJECT_FOCUS, now.focus);
    told = now;
}
