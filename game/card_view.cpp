#include "card_view.h"

#include <mmsystem.h>

#include <memory>

#include "../config/game_config.h"
#include "../resources/resource.h"
#include "card_accessible.h"
#include "card_deal.h"
#include "card_picture.h"

namespace {

const UINT losingCardPause = 2000;

SeriesState series;
// The keyboard's mark shows while the card has the focus, once one of the
// card's own keys has been used on it, as Windows shows focus cues.
bool keyboardUsed;
// The canvas, at 100 %, is what a photocopy saves; the screen picture, at
// the card control's scale where that is not 100 %, is what it shows.
std::unique_ptr<CardPicture> cardCanvas;
std::unique_ptr<CardPicture> screenPicture;

// The picture that the card control shows, and whose places its presses,
// its frame and a reader's places follow.
const CardPicture* shownPicture() { return screenPicture ? screenPicture.get() : cardCanvas.get(); }

void playSound(int resource) {
    PlaySoundW(MAKEINTRESOURCEW(resource), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

// The record changed: both pictures show it, the control paints it at once,
// and a reader hears what now reads otherwise.
void showChange(HWND cardControl) {
    for (CardPicture* picture : {cardCanvas.get(), screenPicture.get()}) {
        if (picture) showOnPicture(*picture, series.card);
    }
    InvalidateRect(cardControl, nullptr, FALSE);
    UpdateWindow(cardControl);
    tellReader(cardControl);
}

// The finished card stays in view for a moment, then the next game's
// covered card replaces it. The program goes on answering meanwhile: the
// pause is the card's state and a timer.
void beginPause(HWND cardControl) {
    if (!SetTimer(cardControl, cardPauseTimer, losingCardPause, nullptr)) {
        PostMessageW(cardControl, cardPauseOver, 0, 0);
    }
}

// Whether the card was in its pause, whose timer is then stopped: the
// caller brings the next game's card.
bool endPause(HWND cardControl) {
    KillTimer(cardControl, cardPauseTimer);
    return cardPaused(series.card);
}

// The series dealt again and a fresh covered card of the current game in
// the record, not shown yet. The record keeps what it shows of the deal.
void dealNewCard() {
    SeriesDeal deal;
    dealSeries(gameConfig, timeOfDaySeed(), deal);
    newCard(series, deal, gamesInSeries(gameConfig));
}

// Deals the series and shows a fresh covered card of the current game.
void drawNewCard(HWND mainWindow) {
    dealNewCard();
    showChange(GetDlgItem(mainWindow, IDC_CARD));
}

// An uncovered cell pressed again clicks again, its picture unchanged. The
// picture goes up before the sound starts, so it never waits on the sound
// system.
void pressStar(HWND cardControl, CellHit hit) {
    const PressResult result = pressCell(series, hit, gameConfig.surpriseComment);
    if (result == PressResult::ignored) return;
    showChange(cardControl);
    if (result == PressResult::offCard) return;
    playSound(IDW_CLICK);
    if (result == PressResult::winningCardDone) playSound(IDW_FANFARE);
    if (result == PressResult::losingCardDone) beginPause(cardControl);
}

}  // namespace

void resetSeries() { series = SeriesState{}; }

void createCardCanvas() { cardCanvas = std::make_unique<CardPicture>(fullScaleDpi); }

HBITMAP cardCanvasBitmap() { return cardCanvas ? cardCanvas->bitmap.get() : nullptr; }

void setCardDpi(HWND cardControl, int dpi) {
    screenPicture.reset();
    if (dpi > 0 && dpi != fullScaleDpi) {
        screenPicture = std::make_unique<CardPicture>(dpi);
        // Where it cannot be made, the control shows the canvas.
        if (!screenPicture->bitmap) screenPicture.reset();
    }
    showChange(cardControl);
}

int cardControlDpi() { return shownPicture() ? shownPicture()->dpi : fullScaleDpi; }

const CardShown& shownCard() { return series.card; }

void startCard(HWND mainWindow) {
    HWND card = GetDlgItem(mainWindow, IDC_CARD);
    endPause(card);
    playCard(series);
    drawNewCard(mainWindow);
    // The keys play the card from here on.
    SetFocus(card);
}

void deactivateCard(HWND mainWindow) {
    HWND card = GetDlgItem(mainWindow, IDC_CARD);
    if (endPause(card)) dealNewCard();
    setCardAside(series);
    showChange(card);
}

void finishCardPause(HWND mainWindow) {
    if (endPause(GetDlgItem(mainWindow, IDC_CARD))) drawNewCard(mainWindow);
}

void clickCard(HWND cardControl, CellHit hit) {
    // The mark follows the click, as the focus of a list follows a click on
    // an item; a click gives the card the focus, so that the keys work
    // after it.
    moveMark(series, hit);
    if (GetFocus() != cardControl) SetFocus(cardControl);
    pressStar(cardControl, hit);
}

void pressMarkedStar(HWND cardControl) {
    if (!starsPressable(series.card)) return;
    keyboardUsed = true;
    pressStar(cardControl, series.card.mark);
}

void moveCardMark(HWND cardControl, CardKey key) {
    if (!starsPressable(series.card)) return;
    const bool frameShown = keyboardUsed;
    keyboardUsed = true;
    const bool moved = moveMark(series, markAfterKey(series.card.mark, key));
    // At the card's edge the mark stays: nothing to show again or tell.
    if (moved || !frameShown) showChange(cardControl);
}

void paintCardControl(const DRAWITEMSTRUCT& item) {
    // The frame is drawn on the screen only: the canvas, and so a
    // photocopy, never holds it.
    const bool markShown = keyboardUsed && starsPressable(series.card) && GetFocus() == item.hwndItem;
    paintCard(item.hDC, item.rcItem, shownPicture(), series.card, markShown);
}
