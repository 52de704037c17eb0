#include "card_view.h"

#include <mmsystem.h>

#include "../config/game_config.h"
#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../shell/dialog_support.h"
#include "../shell/main_window.h"
#include "../shell/win_handles.h"
#include "card_deal.h"
#include "card_layout.h"

namespace {

const COLORREF cardBackground = RGB(29, 30, 25);
const COLORREF figureColour = RGB(29, 30, 25);
const COLORREF winningColour = RGB(255, 0, 0);
const COLORREF commentColour = RGB(238, 201, 0);
const DWORD losingCardPause = 2000;

HBITMAP cardCanvas;
std::int16_t uncoveredCount;
std::int32_t gameActive;
std::int16_t gameNumber;
CardCell cardCells[3][3];
SeriesDeal series;
WNDPROC baseCardProc;

// Loaded and scaled once, then kept to the end of the process.
HBITMAP coveredStar;
HBITMAP uncoveredStar;
HFONT figureFont;

HBITMAP scaledStar(int resource) {
    GdiObject<HBITMAP> original(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP size;
    if (!original || !GetObjectW(original.get(), sizeof size, &size)) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP scaled = CreateCompatibleBitmap(screen, starSize, starSize);
    ReleaseDC(nullptr, screen);
    MemoryDc target;
    MemoryDc source;
    Selection into(target.get(), scaled);
    Selection from(source.get(), original.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, starSize, starSize, source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    return scaled;
}

void loadCardPictures() {
    if (!coveredStar) coveredStar = scaledStar(IDB_STAR_FOIL);
    if (!uncoveredStar) uncoveredStar = scaledStar(IDB_STAR_SMOOTH);
    if (!figureFont) figureFont = createPointFont(L"Tahoma", 11, FW_BOLD);
}

// A memory DC with the canvas selected, the figure font and a transparent
// background, for the length of one drawing step.
class CanvasDc {
public:
    CanvasDc() : canvas_(dc_.get(), cardCanvas), font_(dc_.get(), figureFont) { SetBkMode(dc_.get(), TRANSPARENT); }
    HDC get() const { return dc_.get(); }

private:
    MemoryDc dc_;
    Selection canvas_;
    Selection font_;
};

void drawStar(HDC canvas, HBITMAP star, int x, int y) {
    if (!star) return;
    MemoryDc source;
    Selection from(source.get(), star);
    BitBlt(canvas, x, y, starSize, starSize, source.get(), 0, 0, SRCCOPY);
}

void drawFigure(HDC canvas, int column, int row, COLORREF colour) {
    const CardCell& cell = cardCells[column - 1][row - 1];
    int figure = seriesFigure(series, gameNumber, column, row);
    int dx = figureDx(figure);
    if (dx < 0) return;
    std::wstring text = figureText(figure, editionTexts.currencySuffix);
    SetTextColor(canvas, colour);
    TextOutW(canvas, cell.x + dx, cell.y + figureDy, text.c_str(), static_cast<int>(text.size()));
}

void playSound(int resource) {
    PlaySoundW(MAKEINTRESOURCEW(resource), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void showCanvas(HWND mainWindow) { showOnCardControl(mainWindow, cardCanvas); }

void showWinningDisplay(HWND mainWindow) {
    {
        CanvasDc canvas;
        for (int row = 1; row <= 3; ++row) {
            for (int column = 1; column <= 3; ++column) {
                if (series.winningCells[column - 1][row - 1] == 1) drawFigure(canvas.get(), column, row, winningColour);
            }
        }
        playSound(IDW_FANFARE);
        const char* comment = gameConfig.surpriseComment.c_str();
        SetTextColor(canvas.get(), commentColour);
        TextOutA(canvas.get(), commentX, commentY, comment, static_cast<int>(gameConfig.surpriseComment.size()));
    }
    showCanvas(mainWindow);
    gameNumber = 1;
    uncoveredCount = 0;
    gameActive = 0;
}

// The finished losing card stays in view for a moment, then the next game's
// covered card replaces it.
void finishLosingCard(HWND mainWindow) {
    uncoveredCount = 0;
    ++gameNumber;
    Sleep(losingCardPause);
    drawNewCard(mainWindow);
}

void uncoverCell(const CellHit& hit) {
    CardCell& cell = cardCells[hit.column - 1][hit.row - 1];
    if (cell.uncovered == 0) {
        cell.uncovered = 1;
        ++uncoveredCount;
    }
    // An uncovered cell pressed again is drawn again, but not counted.
    CanvasDc canvas;
    drawStar(canvas.get(), uncoveredStar, cell.x - uncoveredShift, cell.y);
    drawFigure(canvas.get(), hit.column, hit.row, figureColour);
}

void onCardPress(HWND card, unsigned x, unsigned y) {
    if (gameActive != 1) return;
    HWND mainWindow = GetParent(card);
    CellHit hit = cellAt(x, y);
    if (!hit.onCard()) {
        showCanvas(mainWindow);
        return;
    }
    uncoverCell(hit);
    // The picture goes up before the click starts, so it never waits on the
    // sound system.
    showCanvas(mainWindow);
    playSound(IDW_CLICK);
    if (uncoveredCount < 9) return;
    if (gameNumber == gamesInSeries(gameConfig)) {
        showWinningDisplay(mainWindow);
    } else {
        finishLosingCard(mainWindow);
    }
}

}  // namespace

void resetSeries() {
    gameNumber = 1;
    uncoveredCount = 0;
    gameActive = 0;
}

void createCardCanvas() {
    HDC screen = GetDC(nullptr);
    cardCanvas = CreateCompatibleBitmap(screen, canvasWidth, canvasHeight);
    ReleaseDC(nullptr, screen);
    clearCanvas(cardCanvas);
}

HBITMAP cardCanvasBitmap() { return cardCanvas; }

void startCard(HWND mainWindow) {
    uncoveredCount = 0;
    gameActive = 1;
    drawNewCard(mainWindow);
}

void deactivateCard() { gameActive = 0; }

void drawNewCard(HWND mainWindow) {
    loadCardPictures();
    // A set-up may have shortened the series below the game reached.
    if (gameNumber > gamesInSeries(gameConfig)) gameNumber = 1;
    dealSeries(gameConfig, timeOfDaySeed(), series);
    for (auto& column : cardCells) {
        for (CardCell& cell : column) cell = CardCell{};
    }
    clearCanvas(cardCanvas);
    {
        CanvasDc canvas;
        for (int row = 1; row <= 3; ++row) {
            for (int column = 1; column <= 3; ++column) {
                CardCell& cell = cardCells[column - 1][row - 1];
                cell.x = static_cast<std::int16_t>(cellX(column));
                cell.y = static_cast<std::int16_t>(cellY(row));
                drawStar(canvas.get(), coveredStar, cell.x, cell.y);
            }
        }
    }
    showCanvas(mainWindow);
}

void clearCanvas(HBITMAP canvas) {
    BITMAP size;
    if (!GetObjectW(canvas, sizeof size, &size)) return;
    MemoryDc dc;
    Selection selected(dc.get(), canvas);
    GdiObject<HBRUSH> background(CreateSolidBrush(cardBackground));
    RECT all = {0, 0, size.bmWidth, size.bmHeight};
    FillRect(dc.get(), &all, background.get());
}

void installCardControlProc(HWND cardControl) {
    baseCardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(cardControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cardControlProc)));
}

LRESULT CALLBACK cardControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) onCardPress(window, LOWORD(lParam), HIWORD(lParam));
    return CallWindowProcA(baseCardProc, window, message, wParam, lParam);
}
