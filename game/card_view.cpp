#include "card_view.h"

#include <mmsystem.h>

#include "../config/game_config.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "../win/win_handles.h"
#include "card_accessible.h"
#include "card_deal.h"
#include "card_layout.h"
#include "card_rules.h"

namespace {

const COLORREF cardBackground = RGB(29, 30, 25);
const COLORREF figureColour = RGB(29, 30, 25);
const COLORREF winningColour = RGB(255, 0, 0);
const COLORREF commentColour = RGB(238, 201, 0);
const UINT losingCardPause = 2000;
// The card control's one timer: it ends the pause after a losing card.
const UINT_PTR pauseTimer = 1;
// Posted to the card control where its timer cannot be had: the pause then
// ends as soon as the press that began it has been handled.
const UINT pauseOver = WM_APP + 1;
// Set in a key message that the keyboard's repeat sent, the key being held.
const LPARAM keyRepeated = 1 << 30;

SeriesState series;
SeriesDeal deal;
WNDPROC baseCardProc;
// The keyboard's mark shows while the card has the focus, once one of the
// card's own keys has been used on it, as Windows shows focus cues.
bool keyboardUsed;
// Whether the card in view shows the winning display, and its comment as
// it was when the card was won: a won card stays so after Set up has set it
// aside (and maybe changed the comment), until the next card.
bool winningShown;
std::string winningComment;

// A picture of the card at one scale, and what it is drawn with there: the
// stars scaled from their large originals, the figures' font at that size.
struct CardImage {
    int dpi = canvasDpi;
    HBITMAP bitmap = nullptr;
    HBITMAP coveredStar = nullptr;
    HBITMAP uncoveredStar = nullptr;
    HFONT figureFont = nullptr;
};
// The canvas, at 100 %, is what a photocopy saves; the screen picture, at
// the card control's scale where that is not 100 %, is what it shows.
CardImage cardCanvas;
CardImage screenPicture;

HBITMAP scaledStar(int resource, int size) {
    GdiObject<HBITMAP> original(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP source;
    if (!original || !GetObjectW(original.get(), sizeof source, &source)) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP scaled = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    MemoryDc target;
    MemoryDc from;
    Selection into(target.get(), scaled);
    Selection out(from.get(), original.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, size, size, from.get(), 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    return scaled;
}

// The card's background over a rectangle, with the device context's own
// brush: nothing to create or delete.
void fillBackground(HDC dc, const RECT& area) {
    SetDCBrushColor(dc, cardBackground);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

int scaled(const CardImage& image, int canvasLength) { return toScreen(canvasLength, image.dpi); }

// Makes the image at that scale, filled with the card background; its
// stars and font are made once a card is drawn on it.
void makeImage(CardImage& image, int dpi) {
    image.dpi = dpi;
    HDC screen = GetDC(nullptr);
    image.bitmap = CreateCompatibleBitmap(screen, scaled(image, canvasWidth), scaled(image, canvasHeight));
    ReleaseDC(nullptr, screen);
    MemoryDc dc;
    Selection selected(dc.get(), image.bitmap);
    fillBackground(dc.get(), RECT{0, 0, scaled(image, canvasWidth), scaled(image, canvasHeight)});
}

void freeImage(CardImage& image) {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(image.bitmap), static_cast<HGDIOBJ>(image.coveredStar),
                           static_cast<HGDIOBJ>(image.uncoveredStar), static_cast<HGDIOBJ>(image.figureFont)}) {
        if (object) DeleteObject(object);
    }
    image = CardImage{};
}

void loadPictures(CardImage& image) {
    if (!image.coveredStar) image.coveredStar = scaledStar(IDB_STAR_FOIL, scaled(image, starSize));
    if (!image.uncoveredStar) image.uncoveredStar = scaledStar(IDB_STAR_SMOOTH, scaled(image, starSize));
    if (!image.figureFont) image.figureFont = createPointFont(L"Tahoma", 11, FW_BOLD, image.dpi);
}

// A memory DC with an image selected, its figure font and a transparent
// background, for the length of one drawing step.
class ImageDc {
public:
    explicit ImageDc(const CardImage& image)
        : image_(image), bitmap_(dc_.get(), image.bitmap), font_(dc_.get(), image.figureFont) {
        SetBkMode(dc_.get(), TRANSPARENT);
    }
    HDC get() const { return dc_.get(); }
    const CardImage& image() const { return image_; }

private:
    const CardImage& image_;
    MemoryDc dc_;
    Selection bitmap_;
    Selection font_;
};

void clearImage(const ImageDc& dc) {
    fillBackground(dc.get(), RECT{0, 0, scaled(dc.image(), canvasWidth), scaled(dc.image(), canvasHeight)});
}

// Every drawing step goes to the canvas and, at another scale, to the
// screen picture.
template <typename Step>
void drawOnEachImage(Step step) {
    for (CardImage* image : {&cardCanvas, &screenPicture}) {
        if (!image->bitmap) continue;
        loadPictures(*image);
        ImageDc dc(*image);
        step(dc);
    }
}

void drawStar(const ImageDc& dc, HBITMAP star, int x, int y) {
    if (!star) return;
    MemoryDc source;
    Selection from(source.get(), star);
    const int size = scaled(dc.image(), starSize);
    BitBlt(dc.get(), scaled(dc.image(), x), scaled(dc.image(), y), size, size, source.get(), 0, 0, SRCCOPY);
}

int shownFigure(CellHit star) { return seriesFigure(deal, series.shownGame, star.column, star.row); }

void drawFigure(const ImageDc& dc, CellHit star, COLORREF colour) {
    const CardCell& cell = series.cardCells[star.column - 1][star.row - 1];
    const int dx = figureDx(shownFigure(star));
    if (dx < 0) return;
    const std::wstring text = starFigureText(star);
    SetTextColor(dc.get(), colour);
    TextOutW(dc.get(), scaled(dc.image(), cell.x + dx), scaled(dc.image(), cell.y + figureDy), text.c_str(),
             static_cast<int>(text.size()));
}

void drawCoveredCard(const ImageDc& dc) {
    for (int row = 1; row <= cardRows; ++row) {
        for (int column = 1; column <= cardColumns; ++column) {
            drawStar(dc, dc.image().coveredStar, cellX(column), cellY(row));
        }
    }
}

void drawUncoveredCell(const ImageDc& dc, CellHit hit) {
    drawStar(dc, dc.image().uncoveredStar, cellX(hit.column) - uncoveredShift, cellY(hit.row));
    drawFigure(dc, hit, figureColour);
}

void drawWinningDisplay(const ImageDc& dc) {
    for (int row = 1; row <= cardRows; ++row) {
        for (int column = 1; column <= cardColumns; ++column) {
            if (deal.winningCells[column - 1][row - 1] == 1) drawFigure(dc, {column, row}, winningColour);
        }
    }
    SetTextColor(dc.get(), commentColour);
    TextOutA(dc.get(), scaled(dc.image(), commentX), scaled(dc.image(), commentY), winningComment.c_str(),
             static_cast<int>(winningComment.size()));
}

// The whole card in view, drawn again from what it shows: for a picture at
// a new scale.
void drawWholeCard(const ImageDc& dc) {
    clearImage(dc);
    if (series.shownGame == 0) return;
    drawCoveredCard(dc);
    for (int row = 1; row <= cardRows; ++row) {
        for (int column = 1; column <= cardColumns; ++column) {
            if (series.cardCells[column - 1][row - 1].uncovered) drawUncoveredCell(dc, {column, row});
        }
    }
    if (winningShown) drawWinningDisplay(dc);
}

void playSound(int resource) {
    PlaySoundW(MAKEINTRESOURCEW(resource), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

// The control paints itself from the canvas, at once.
void showCanvas(HWND cardControl) {
    InvalidateRect(cardControl, nullptr, FALSE);
    UpdateWindow(cardControl);
}

void onCardPress(HWND cardControl, CellHit hit) {
    const bool wasCovered = hit.onCard() && series.cardCells[hit.column - 1][hit.row - 1].uncovered == 0;
    const PressResult result = pressCell(series, hit, gamesInSeries(gameConfig));
    if (result == PressResult::ignored) return;
    if (result == PressResult::offCard) {
        showCanvas(cardControl);
        return;
    }
    // An uncovered cell pressed again is drawn again and clicks again. The
    // picture goes up before the sound starts, so it never waits on the
    // sound system.
    drawOnEachImage([hit](const ImageDc& dc) { drawUncoveredCell(dc, hit); });
    showCanvas(cardControl);
    if (wasCovered) announceUncovered(cardControl, hit.column, hit.row);
    playSound(IDW_CLICK);
    if (result == PressResult::winningCardDone) {
        winningShown = true;
        winningComment = gameConfig.surpriseComment.str();
        drawOnEachImage(drawWinningDisplay);
        showCanvas(cardControl);
        announceStars(cardControl);
        announceCard(cardControl);
        playSound(IDW_FANFARE);
    } else if (result == PressResult::losingCardDone) {
        // The finished card stays in view for a moment, then the next
        // game's covered card replaces it. The program goes on answering
        // meanwhile: the pause is the card's state and a timer.
        announceStars(cardControl);
        announceFocus(cardControl);
        if (!SetTimer(cardControl, pauseTimer, losingCardPause, nullptr)) PostMessageW(cardControl, pauseOver, 0, 0);
    }
}

// A click gives the card the focus, so that the keys work after it, and
// the mark follows it to the star clicked, as the focus of a list follows
// a click on an item.
void onCardClick(HWND cardControl, CellHit hit) {
    const bool moved = starsPressable(series) && hit.onCard() &&
                       (hit.column != series.mark.column || hit.row != series.mark.row);
    if (moved) series.mark = hit;
    if (GetFocus() != cardControl) {
        SetFocus(cardControl);
    } else if (moved) {
        announceFocus(cardControl);
    }
    onCardPress(cardControl, hit);
}

// Arrows move the mark from star to star; Space and Enter press the marked
// star. Keys do nothing while presses do nothing (typed during the pause,
// they are dropped), and a held key repeats only the moving: a repeated
// Space or Enter presses nothing.
void onCardKey(HWND cardControl, WPARAM key, bool repeated) {
    if (!starsPressable(series)) return;
    CardKey move;
    switch (key) {
    case VK_LEFT: move = CardKey::left; break;
    case VK_RIGHT: move = CardKey::right; break;
    case VK_UP: move = CardKey::up; break;
    case VK_DOWN: move = CardKey::down; break;
    case VK_SPACE:
    case VK_RETURN:
        if (repeated) return;
        keyboardUsed = true;
        onCardPress(cardControl, series.mark);
        return;
    default: return;
    }
    const bool frameShown = keyboardUsed;
    keyboardUsed = true;
    const CellHit to = markAfterKey(series.mark, move);
    const bool moved = to.column != series.mark.column || to.row != series.mark.row;
    series.mark = to;
    // At the card's edge the mark stays: a reader hears nothing again.
    if (moved || !frameShown) showCanvas(cardControl);
    if (moved) announceFocus(cardControl);
}

// The dialog manager would take the arrows and Enter for itself.
LRESULT cardDialogCode(const MSG* message) {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
    return code;
}

// The system's focus rectangle around the marked star, on the screen only:
// the canvas, and so a photocopy, never holds it.
void drawMark(const DRAWITEMSTRUCT& item) {
    if (!keyboardUsed || !starsPressable(series) || GetFocus() != item.hwndItem) return;
    const int x = cellX(series.mark.column), y = cellY(series.mark.row), dpi = cardControlDpi();
    const RECT around = {toScreen(x - uncoveredShift - markMargin, dpi), toScreen(y - markMargin, dpi),
                         toScreen(x + starSize + markMargin, dpi), toScreen(y + starSize + markMargin, dpi)};
    DrawFocusRect(item.hDC, &around);
}

}  // namespace

void resetSeries() { series = SeriesState{}; }

void createCardCanvas() {
    freeImage(cardCanvas);
    makeImage(cardCanvas, canvasDpi);
}

HBITMAP cardCanvasBitmap() { return cardCanvas.bitmap; }

void setCardDpi(HWND cardControl, int dpi) {
    freeImage(screenPicture);
    if (dpi > 0 && dpi != canvasDpi) {
        makeImage(screenPicture, dpi);
        loadPictures(screenPicture);
        drawWholeCard(ImageDc(screenPicture));
    }
    InvalidateRect(cardControl, nullptr, FALSE);
}

// Presses and the frame follow the picture shown: the canvas where no
// screen picture could be made.
int cardControlDpi() { return screenPicture.bitmap ? screenPicture.dpi : canvasDpi; }

const SeriesDeal& dealtSeries() { return deal; }

const SeriesState& cardSeries() { return series; }

std::wstring starFigureText(CellHit star) { return figureText(shownFigure(star), editionTexts.currencySuffix); }

void startCard(HWND mainWindow) {
    playCard(series);
    drawNewCard(mainWindow);
    // The keys play the card from here on.
    SetFocus(GetDlgItem(mainWindow, IDC_CARD));
}

void deactivateCard(HWND mainWindow) {
    setCardAside(series);
    HWND card = GetDlgItem(mainWindow, IDC_CARD);
    InvalidateRect(card, nullptr, FALSE);
    announceCard(card);
}

void finishCardPause(HWND mainWindow) {
    HWND card = GetDlgItem(mainWindow, IDC_CARD);
    KillTimer(card, pauseTimer);
    if (cardPaused(series)) drawNewCard(mainWindow);
}

void drawNewCard(HWND mainWindow) {
    newCard(series, gamesInSeries(gameConfig));
    dealSeries(gameConfig, timeOfDaySeed(), deal);
    winningShown = false;
    drawOnEachImage([](const ImageDc& dc) {
        clearImage(dc);
        drawCoveredCard(dc);
    });
    HWND card = GetDlgItem(mainWindow, IDC_CARD);
    showCanvas(card);
    announceStars(card);
    announceCard(card);
}

void paintCardControl(const DRAWITEMSTRUCT& item) {
    const CardImage& shown = screenPicture.bitmap ? screenPicture : cardCanvas;
    const int width = scaled(shown, canvasWidth), height = scaled(shown, canvasHeight);
    const RECT& control = item.rcItem;
    fillBackground(item.hDC, RECT{width, control.top, control.right, control.bottom});
    fillBackground(item.hDC, RECT{control.left, height, width, control.bottom});
    if (!shown.bitmap) {
        fillBackground(item.hDC, RECT{control.left, control.top, width, height});
        return;
    }
    {
        MemoryDc source;
        Selection from(source.get(), shown.bitmap);
        BitBlt(item.hDC, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
    drawMark(item);
}

void installCardControlProc(HWND cardControl) {
    baseCardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(cardControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cardControlProc)));
}

LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        onCardClick(window, cellAt(static_cast<unsigned>(toCanvas(LOWORD(lParam), cardControlDpi())),
                                   static_cast<unsigned>(toCanvas(HIWORD(lParam), cardControlDpi()))));
        break;
    case WM_KEYDOWN: onCardKey(window, wParam, (lParam & keyRepeated) != 0); break;
    case WM_TIMER:
        if (wParam == pauseTimer) {
            finishCardPause(GetParent(window));
            return 0;
        }
        break;
    case pauseOver: finishCardPause(GetParent(window)); return 0;
    // The mark shows only while the card has the focus.
    case WM_SETFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        announceFocus(window);
        break;
    case WM_KILLFOCUS: InvalidateRect(window, nullptr, FALSE); break;
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
