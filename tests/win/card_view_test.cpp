#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include "config/game_config.h"
#include "game/card_layout.h"
#include "game/card_picture.h"
#include "game/card_view.h"
#include "resources/resource.h"
#include "win/dialog_support.h"
#include "card_window.h"
#include "win_test_support.h"

namespace {

const COLORREF background = RGB(29, 30, 25);
const COLORREF red = RGB(255, 0, 0);
const COLORREF gold = RGB(238, 201, 0);

// The canvas's pixels, or a bitmap's of that size, read in one go.
struct CanvasPixels {
    int width, height;
    std::vector<COLORREF> pixels;
    explicit CanvasPixels(HBITMAP bitmap = cardCanvasBitmap(), int w = canvasWidth, int h = canvasHeight)
        : width(w), height(h), pixels(static_cast<size_t>(w * h)) {
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> raw(pixels.size());
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), raw.data(), &info, DIB_RGB_COLORS);
        DeleteDC(dc);
        for (size_t i = 0; i < raw.size(); ++i) {
            DWORD p = raw[i];
            pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
    }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    int count(COLORREF colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) n += at(x, y) == colour;
        return n;
    }
    // Figure text lies in the figure colour inside the star, where the
    // star itself never has that colour.
    bool uncovered(int column, int row) const {
        return count(background, cellX(column) + 30, cellY(row) + 42, cellX(column) + 70, cellY(row) + 56) > 0;
    }
    int uncoveredCells() const {
        int n = 0;
        for (int c = 1; c <= 3; ++c)
            for (int r = 1; r <= 3; ++r) n += uncovered(c, r);
        return n;
    }
    // An uncovered cell's whole picture: its star and its figure.
    std::vector<COLORREF> cell(int column, int row) const {
        std::vector<COLORREF> block;
        for (int y = cellY(row); y < cellY(row) + starSize; ++y)
            for (int x = cellX(column) - uncoveredShift; x < cellX(column) - uncoveredShift + starSize; ++x)
                block.push_back(at(x, y));
        return block;
    }
    // The smallest rectangle that holds every pixel of that colour, within
    // an area (the whole picture by default).
    RECT bounds(COLORREF colour, RECT area = {0, 0, 0, 0}) const {
        if (area.right == 0) area = RECT{0, 0, width, height};
        RECT box = {width, height, -1, -1};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (at(x, y) != colour) continue;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                       std::max<LONG>(box.bottom, y)};
            }
        }
        return box;
    }
    // The mean x of the star's non-background pixels in a cell's band.
    double starCentre(int column, int row) const {
        double sum = 0;
        int n = 0;
        for (int y = cellY(row); y <= cellY(row) + 100; ++y)
            for (int x = (column - 1) * bandWidth; x < column * bandWidth; ++x)
                if (at(x, y) != background) sum += x, ++n;
        return n ? sum / n : -1;
    }
};

// What the card control was given to show, and the record it was drawn
// from, at each of its paints while recording.
struct Shown {
    CanvasPixels canvas;
    CardShown card;
};
std::vector<Shown> shown;

void recordPaints(bool on) {
    onCardPaint = on ? std::function<void()>([] { shown.push_back({CanvasPixels(), shownCard()}); }) : nullptr;
}

// A picture made afresh for the card on screen, at that scale.
CanvasPixels freshPicture(int dpi) {
    CardPicture picture(dpi);
    showOnPicture(picture, shownCard());
    return CanvasPixels(picture.bitmap.get(), toScreen(canvasWidth, dpi), toScreen(canvasHeight, dpi));
}

// The card control's picture at that scale, painted as the window paints
// it, on a control that has grown with the scale.
CanvasPixels paintedCard(int dpi) {
    const RECT client = {0, 0, toScreen(canvasWidth, dpi) + 20, toScreen(canvasHeight, dpi) + 20};
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, picture);
    // What the painting leaves alone shows in magenta.
    SetDCBrushColor(dc, RGB(255, 0, 255));
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    DRAWITEMSTRUCT item = {};
    item.hwndItem = cardWindow().card;
    item.hDC = dc;
    item.rcItem = client;
    paintCardControl(item);
    SelectObject(dc, previous);
    DeleteDC(dc);
    CanvasPixels painted(picture, client.right, client.bottom);
    DeleteObject(picture);
    return painted;
}

// The card control painted at that scale shows the picture of the card on
// screen, as a picture made afresh for it, and the card's background over
// the rest of the control; with the focus (and a key used), the keyboard's
// frame around the marked star at its place and size at that scale, and
// nothing else.
void expectControlShowsTheCard(int dpi) {
    SetFocus(nullptr);
    const CanvasPixels plain = paintedCard(dpi);
    SetFocus(cardWindow().card);
    const CanvasPixels framed = paintedCard(dpi);
    const CanvasPixels picture = freshPicture(dpi);
    int wrong = 0;
    for (int y = 0; y < plain.height; ++y) {
        for (int x = 0; x < plain.width; ++x) {
            const bool onPicture = x < picture.width && y < picture.height;
            wrong += plain.at(x, y) != (onPicture ? picture.at(x, y) : background);
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels painted otherwise at " << dpi << " dpi";
    RECT frame = {plain.width, plain.height, -1, -1};
    for (int y = 0; y < plain.height; ++y) {
        for (int x = 0; x < plain.width; ++x) {
            if (plain.at(x, y) == framed.at(x, y)) continue;
            frame = {std::min<LONG>(frame.left, x), std::min<LONG>(frame.top, y), std::max<LONG>(frame.right, x),
                     std::max<LONG>(frame.bottom, y)};
        }
    }
    const int left = cellX(shownCard().mark.column) - uncoveredShift - markMargin;
    const int top = cellY(shownCard().mark.row) - markMargin;
    const int right = cellX(shownCard().mark.column) + starSize + markMargin;
    const int bottom = cellY(shownCard().mark.row) + starSize + markMargin;
    EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right, frame.bottom}),
              (std::vector<LONG>{toScreen(left, dpi), toScreen(top, dpi), toScreen(right, dpi) - 1,
                                 toScreen(bottom, dpi) - 1}))
        << "the frame at " << dpi << " dpi";
}

class CardView : public ::testing::Test {
protected:
    void SetUp() override {
        cardWindow();
        resetSeries();
        configure("3");
    }
};

}  // namespace

TEST_F(CardView, CoveredCardLayout) {
    startCard(cardWindow().window);
    CanvasPixels canvas;
    EXPECT_EQ(canvas.at(0, 0), background);
    EXPECT_EQ(canvas.at(230, 60), background);  // between cells
    EXPECT_EQ(canvas.at(789, 469), background);
    EXPECT_EQ(canvas.count(background, 0, 410, 789, 469), 790 * 60);
    EXPECT_EQ(canvas.uncoveredCells(), 0);
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 3; ++r) {
            // The covered star sits in x .. x + 100 and y .. y + 100.
            int x = cellX(c), y = cellY(r);
            EXPECT_EQ(canvas.count(background, x - 20, y, x - 1, y + 100), 20 * 101);
            EXPECT_EQ(canvas.count(background, x + 101, y, x + 120, y + 100), 20 * 101);
            EXPECT_GT(canvas.count(background, x, y, x + 100, y + 100), 0);
            EXPECT_LT(canvas.count(background, x + 40, y + 40, x + 60, y + 60), 1);
            EXPECT_NEAR(canvas.starCentre(c, r), x + 50, 3);
        }
    }
}

TEST_F(CardView, PressesBeforePlayChangeNothing) {
    startCard(cardWindow().window);
    CanvasPixels before;
    resetSeries();  // waiting: no card in play
    pressCell(1, 1);
    press(50, 60);
    CanvasPixels after;
    EXPECT_EQ(before.pixels, after.pixels);
}

TEST_F(CardView, PressBandsDecideTheCell) {
    struct Case {
        unsigned x, y;
        int column, row;
    };
    const Case cases[] = {{219, 144, 1, 1}, {220, 144, 2, 1}, {439, 145, 2, 2}, {440, 289, 3, 2},
                          {659, 290, 3, 3}, {50, 60, 1, 1},   {440, 0, 3, 1},   {0, 434, 1, 3}};
    for (const Case& c : cases) {
        startCard(cardWindow().window);
        press(c.x, c.y);
        CanvasPixels canvas;
        EXPECT_EQ(canvas.uncoveredCells(), 1) << c.x << "," << c.y;
        EXPECT_TRUE(canvas.uncovered(c.column, c.row)) << c.x << "," << c.y;
    }
    startCard(cardWindow().window);
    CanvasPixels covered;
    press(660, 100);
    press(100, 435);
    press(789, 469);
    EXPECT_EQ(CanvasPixels().pixels, covered.pixels);
}

TEST_F(CardView, UncoveredStarAndFigureStandWhereTheyShould) {
    startCard(cardWindow().window);
    CanvasPixels covered;
    pressCell(2, 2);
    EXPECT_NEAR(CanvasPixels().starCentre(2, 2), covered.starCentre(2, 2) - uncoveredShift, 1.0);

    // The figure's text starts at (x + dx, y + 40): dx 23 for four digits, 39 for one.
    for (const char* figure : {"1234", "7"}) {
        for (auto& entry : gameConfig.prizeFigures) entry.assign(figure);
        gameConfig.winningFigure.assign(figure);
        startCard(cardWindow().window);
        pressCell(2, 2);
        CanvasPixels canvas;
        const int x = cellX(2) + figureDx(static_cast<int>(numberValue(figure))), y = cellY(2);
        // Inside the star: no ink left of x + dx, some in its first columns,
        // none above y + 40.
        EXPECT_EQ(canvas.count(background, x - 5, y + 42, x - 1, y + 50), 0) << figure;
        EXPECT_GT(canvas.count(background, x, y + 40, x + 4, y + 58), 0) << figure;
        EXPECT_EQ(canvas.count(background, cellX(2) + 38, y + 30, cellX(2) + 50, y + 39), 0) << figure;
    }
}

namespace {

// How an uncovered cell looks showing one figure alone, in the figure colour
// and redrawn in red: taken from a winning card whose ten figures are all it.
struct FigureLook {
    std::vector<COLORREF> plain;
    std::vector<COLORREF> red;
};

std::map<int, FigureLook> standardFigureLooks() {
    std::map<int, FigureLook> looks;
    for (const char* figure : standardFigures) {
        for (auto& entry : gameConfig.prizeFigures) entry.assign(figure);
        gameConfig.winningFigure.assign(figure);
        gameConfig.gamesUntilTruePrize.assign("1");
        startCard(cardWindow().window);
        pressCells();
        const CanvasPixels canvas;
        FigureLook& look = looks[static_cast<int>(numberValue(figure))];
        for (int c = 1; c <= 3; ++c) {
            for (int r = 1; r <= 3; ++r) (shownCard().winningCells[c - 1][r - 1] ? look.red : look.plain) = canvas.cell(c, r);
        }
    }
    return looks;
}

}  // namespace

TEST_F(CardView, EachCellShowsTheFigureDealtToItInThatGame) {
    const std::map<int, FigureLook> looks = standardFigureLooks();
    configure("2", "");
    startCard(cardWindow().window);
    pressCell(1, 1);
    pressCell(1, 1);  // pressed again: drawn again, not counted
    pressCells(8);
    EXPECT_EQ(CanvasPixels().uncoveredCells(), 8);

    // The ninth cell of a losing card: the whole card is shown, then after
    // the pause the next game's covered card.
    shown.clear();
    recordPaints(true);
    pressCell(3, 3);
    // The pause holds nothing up: the press has been handled, the card
    // stays in view, and a press or a key in the pause changes nothing.
    EXPECT_TRUE(cardPaused(shownCard()));
    pressCell(1, 1);
    key(VK_SPACE);
    EXPECT_EQ(CanvasPixels().uncoveredCells(), 9);
    EXPECT_GE(waitOutThePause(), 1900u);
    recordPaints(false);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.back().canvas.uncoveredCells(), 0);
    const Shown& losing = shown.front();
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 3; ++r) {
            const int figure = losing.card.figures[c - 1][r - 1];
            EXPECT_EQ(losing.canvas.cell(c, r), looks.at(figure).plain) << "game 1, cell " << c << "," << r;
        }
    }

    // Game 2 is the winning card: its own figures, the three winning ones red.
    pressCells();
    const CanvasPixels won;
    const CardShown& card = shownCard();
    EXPECT_EQ(card.game, 2);
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 3; ++r) {
            const FigureLook& look = looks.at(card.figures[c - 1][r - 1]);
            EXPECT_EQ(won.cell(c, r), card.winningCells[c - 1][r - 1] ? look.red : look.plain)
                << "game 2, cell " << c << "," << r;
        }
    }
}

TEST_F(CardView, EveryPlayDealsAfresh) {
    startCard(cardWindow().window);
    const CardShown first = shownCard();
    // Deals are seeded from the clock's milliseconds: let them move on.
    const std::uint32_t seed = timeOfDaySeed();
    while (timeOfDaySeed() == seed) Sleep(1);
    startCard(cardWindow().window);
    EXPECT_NE(std::memcmp(first.figures, shownCard().figures, sizeof first.figures), 0);
}

TEST_F(CardView, WinningCardShowsRedFiguresAndTheComment) {
    configure("1", "Enhorabuena!");
    startCard(cardWindow().window);
    pressCells();
    CanvasPixels canvas;
    int redCells = 0;
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 3; ++r) {
            redCells += canvas.count(red, cellX(c) - 5, cellY(r), cellX(c) + 100, cellY(r) + 100) > 0;
        }
    }
    EXPECT_EQ(redCells, 3);
    EXPECT_EQ(canvas.count(red, 0, 0, 789, 469),
              canvas.count(red, 0, 0, 789, 409));  // no red outside the cells
    // The comment's text starts at (120, 420) in gold: its capitals' ink
    // begins below the font's internal leading, 3 pixels down.
    const RECT comment = canvas.bounds(gold);
    EXPECT_NEAR(comment.left, 120, 1);
    EXPECT_NEAR(comment.top, 420 + 3, 2);
    EXPECT_LT(comment.bottom, 440);

    // The series has ended: further presses change nothing.
    pressCell(1, 1);
    EXPECT_EQ(CanvasPixels().pixels, canvas.pixels);

    // A red figure is the figure drawn again in red, at the same place:
    // every cell showing 500, each red pixel of a winning cell stands where
    // the other cells have the figure's ink.
    for (NumberText& figure : gameConfig.prizeFigures) figure.assign("500");
    startCard(cardWindow().window);
    pressCells();
    const CanvasPixels same;
    std::vector<COLORREF> plain;
    for (int c = 1; c <= 3 && plain.empty(); ++c)
        for (int r = 1; r <= 3 && plain.empty(); ++r)
            if (!shownCard().winningCells[c - 1][r - 1]) plain = same.cell(c, r);
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 3; ++r) {
            if (!shownCard().winningCells[c - 1][r - 1]) continue;
            const std::vector<COLORREF> winning = same.cell(c, r);
            int redInk = 0, strayRed = 0;
            for (std::size_t i = 0; i < winning.size(); ++i) {
                if (winning[i] != red) continue;
                ++redInk;
                strayRed += plain[i] != background;
            }
            EXPECT_GT(redInk, 0) << c << "," << r;
            EXPECT_EQ(strayRed, 0) << c << "," << r;
        }
    }
}

TEST_F(CardView, CommentIsCutAtTheCanvasEdgeAndAnEmptyOneDrawsNothing) {
    configure("1", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    startCard(cardWindow().window);
    pressCells();
    EXPECT_GT(CanvasPixels().count(gold, 780, 420, 789, 440), 0);

    configure("1", "");
    startCard(cardWindow().window);
    pressCells();
    EXPECT_EQ(CanvasPixels().count(gold, 0, 406, 789, 469), 0);
}

TEST_F(CardView, ShortenedSeriesStartsAgainAtGameOne) {
    configure("3");
    startCard(cardWindow().window);
    pressCells();  // game 1 lost, now game 2
    configure("1");  // a set-up lowers the series below the game reached
    startCard(cardWindow().window);
    pressCells();
    EXPECT_GT(CanvasPixels().count(red, 0, 0, 789, 409), 0);

    configure("9999");  // out of range: a series of ten cards, the last one winning
    startCard(cardWindow().window);
    pressCell(1, 1);
    EXPECT_EQ(CanvasPixels().uncoveredCells(), 1);
}

// GDI objects are what drawing the card could lose; Wine reports no
// private memory use to bound (it stays 0), nor a count of GDI objects: the
// free places of the handle table are counted, by filling it and emptying
// it again.
int freeGdiPlaces() {
    std::vector<HBRUSH> brushes;
    while (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3))) brushes.push_back(brush);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

TEST_F(CardView, ManyPressesLeakNoGdiObject) {
    startCard(cardWindow().window);
    pressCell(2, 2);
    const int before = freeGdiPlaces();
    // Each round draws a star covered and uncovered again.
    for (int i = 0; i < 500; ++i) {
        startCard(cardWindow().window);
        pressCell(2, 2);
    }
    EXPECT_GT(freeGdiPlaces(), before - 50);
}

// How the pause after a losing card ends. It begins once the ninth press
// has been handled (the losing card in view, taking no press) and ends
// outside that handling, with the next game's covered card, dealt once:
// when its time runs out, at once where no timer can be had, or at a
// command chosen in it (Play, Set up, Photocopy). Each picture then holds
// what a picture made afresh for the record holds.
TEST_F(CardView, ThePauseEndsWithTheNextGamesCard) {
    struct Ending {
        const char* name;
        bool timersRefused;
        std::function<void()> command;  // chosen in the pause
        DWORD shortest, longest;        // milliseconds from the ninth press
        bool inPlay;                    // the next card afterwards
    };
    HWND window = cardWindow().window;
    const Ending endings[] = {
        {"its time runs out", false, nullptr, 1900, 2900, true},
        {"no timer to be had", true, nullptr, 0, 1000, true},
        {"Play", false, [window] { startCard(window); }, 0, 1000, true},
        {"Set up", false, [window] { deactivateCard(window); }, 0, 1000, false},
        {"Photocopy", false, [window] { finishCardPause(window); }, 0, 1000, true},
    };
    for (const Ending& e : endings) {
        configure("3");
        resetSeries();
        startCard(window);
        pressCells(8);
        std::unique_ptr<TimersRefused> refused(e.timersRefused ? new TimersRefused : nullptr);
        if (refused) {
            ASSERT_EQ(SetTimer(nullptr, 0, 1000, nullptr), 0u) << "the timers are still given";
        }
        const DWORD start = GetTickCount();
        pressCell(3, 3);
        EXPECT_TRUE(cardPaused(shownCard())) << e.name;
        EXPECT_EQ(CanvasPixels().uncoveredCells(), 9) << e.name;
        int paints = 0;
        onCardPaint = [&paints] { ++paints; };
        if (e.command) e.command();
        waitOutThePause();
        onCardPaint = nullptr;
        const DWORD paused = GetTickCount() - start;
        refused.reset();
        EXPECT_GE(paused, e.shortest) << e.name;
        EXPECT_LT(paused, e.longest) << e.name;
        EXPECT_EQ(paints, 1) << e.name << ": the next card is shown once";
        EXPECT_EQ(shownCard().game, 2) << e.name;
        EXPECT_EQ(cardInPlay(shownCard()), e.inPlay) << e.name;
        const CanvasPixels canvas;
        EXPECT_EQ(canvas.uncoveredCells(), 0) << e.name;
        EXPECT_TRUE(canvas.pixels == freshPicture(fullScaleDpi).pixels) << e.name;
    }
}

// A held key moves the mark but presses once; keys typed during the pause
// after a losing card are dropped, not replayed into the next one.
TEST_F(CardView, HeldKeysAndKeysTypedDuringThePause) {
    configure("2");
    startCard(cardWindow().window);
    const struct {
        WPARAM code;
        bool held;
        int uncovered;
    } steps[] = {{VK_SPACE, true, 0},  {VK_SPACE, false, 1},  {VK_RIGHT, true, 1}, {VK_SPACE, true, 1},
                 {VK_RETURN, true, 1}, {VK_RETURN, false, 2}, {VK_DOWN, false, 2}, {VK_RETURN, false, 3}};
    for (const auto& step : steps) {
        key(step.code, step.held);
        EXPECT_EQ(CanvasPixels().uncoveredCells(), step.uncovered) << step.code << (step.held ? " held" : "");
    }
    const CanvasPixels three;
    EXPECT_TRUE(three.uncovered(1, 1) && three.uncovered(2, 1) && three.uncovered(2, 2));

    pressCells();
    for (int typed = 0; typed < 3; ++typed) PostMessageW(cardWindow().card, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(cardWindow().card, WM_KEYDOWN, VK_LEFT, 1);
    waitOutThePause();
    EXPECT_EQ(CanvasPixels().uncoveredCells(), 0);
    EXPECT_EQ(std::make_pair(shownCard().mark.column, shownCard().mark.row), std::make_pair(1, 1));
}

// The keys reach the card only while it has the focus: Play gives it, and so
// does a click, which also takes the mark to the star clicked.
TEST_F(CardView, PlayAndAClickGiveTheCardTheFocus) {
    SetFocus(nullptr);
    startCard(cardWindow().window);
    EXPECT_EQ(GetFocus(), cardWindow().card);
    SetFocus(nullptr);
    press(700, 450);
    EXPECT_EQ(GetFocus(), cardWindow().card);
    pressCell(2, 3);
    EXPECT_EQ(std::make_pair(shownCard().mark.column, shownCard().mark.row), std::make_pair(2, 3));
}

// At 150 %: the control shows the card drawn half as large again, its stars
// and figures whole at their scaled places, and takes a press at a star's
// scaled place for that star; the canvas, which a photocopy saves, stays
// exactly the card at 100 %.
TEST_F(CardView, AtAnotherScaleTheCanvasStaysAt100Percent) {
    const std::map<int, FigureLook> looks = standardFigureLooks();
    const int dpi = 144;
    // Every star holds "5": its text fits well inside the star's middle.
    configure("1");
    for (NumberText& figure : gameConfig.prizeFigures) figure.assign("5");
    gameConfig.winningFigure.assign("5");
    setCardDpi(cardWindow().card, dpi);
    startCard(cardWindow().window);
    press(static_cast<unsigned>(toScreen(cellX(2) + 50, dpi)), static_cast<unsigned>(toScreen(cellY(2) + 50, dpi)));
    key(VK_UP);  // the frame goes to the star above
    const CanvasPixels canvas;
    EXPECT_EQ(canvas.uncoveredCells(), 1);
    EXPECT_EQ(canvas.cell(2, 2), looks.at(5).plain);
    EXPECT_TRUE(canvas.pixels == freshPicture(fullScaleDpi).pixels);
    expectControlShowsTheCard(dpi);

    const CanvasPixels shown = paintedCard(dpi);
    setCardDpi(cardWindow().card, fullScaleDpi);
    expectControlShowsTheCard(fullScaleDpi);

    // The figure's ink ("5 €", 18 pixels wide at 100 %) inside the
    // uncovered star, within the star's light middle, and the covered star
    // beside it: each where the canvas has it,
    // scaled.
    const auto middle = [](int scale) {
        const int x = cellX(2), y = cellY(2);
        return RECT{toScreen(x + 30, scale), toScreen(y + 40, scale), toScreen(x + 64, scale), toScreen(y + 56, scale)};
    };
    const RECT ink = canvas.bounds(background, middle(fullScaleDpi));
    EXPECT_EQ((std::vector<LONG>{ink.left, ink.top, ink.right, ink.bottom}), (std::vector<LONG>{379, 204, 397, 214}));
    const RECT scaledInk = shown.bounds(background, middle(dpi));
    const int inkSides[] = {ink.left, ink.top, ink.right, ink.bottom};
    const int scaledSides[] = {scaledInk.left, scaledInk.top, scaledInk.right, scaledInk.bottom};
    // A font's glyphs do not grow quite in proportion: within 5 pixels.
    for (int side = 0; side < 4; ++side) EXPECT_NEAR(scaledSides[side], inkSides[side] * 1.5, 5) << side;
}

// A won card keeps its comment when Set up changes it: drawn again at
// another scale, it shows what the canvas (and a photocopy) shows.
TEST_F(CardView, AWonCardDrawnAtANewScaleKeepsItsComment) {
    configure("1", "Enhorabuena!");
    startCard(cardWindow().window);
    pressCells();
    deactivateCard(cardWindow().window);
    configure("1", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    setCardDpi(cardWindow().card, 144);
    const RECT scaled = paintedCard(144).bounds(gold);
    setCardDpi(cardWindow().card, fullScaleDpi);
    const RECT comment = CanvasPixels().bounds(gold);
    // Glyphs do not grow quite in proportion: wider than at 100 %, far
    // narrower than the new comment would be.
    EXPECT_GT(scaled.right - scaled.left, comment.right - comment.left);
    EXPECT_LT(scaled.right - scaled.left, 2 * (comment.right - comment.left));
}
