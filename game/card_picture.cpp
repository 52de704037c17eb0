#include "card_picture.h"

#include <string>

#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"

namespace {

const COLORREF cardBackground = RGB(29, 30, 25);
const COLORREF figureColour = RGB(29, 30, 25);
const COLORREF winningColour = RGB(255, 0, 0);
const COLORREF commentColour = RGB(238, 201, 0);

int scaled(const CardPicture& picture, int canvasLength) { return toScreen(canvasLength, picture.dpi); }

// The card's background over a rectangle, with the device context's own
// brush: nothing to create or delete.
void fillBackground(HDC dc, const RECT& area) {
    SetDCBrushColor(dc, cardBackground);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

HBITMAP compatibleBitmap(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

HBITMAP scaledStar(int resource, int size) {
    GdiObject<HBITMAP> original(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP source;
    if (!original || !GetObjectW(original.get(), sizeof source, &source)) return nullptr;
    HBITMAP star = compatibleBitmap(size, size);
    MemoryDc target;
    MemoryDc from;
    Selection into(target.get(), star);
    Selection out(from.get(), original.get());
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    StretchBlt(target.get(), 0, 0, size, size, from.get(), 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    return star;
}

void prepareDrawing(CardPicture& picture) {
    if (!picture.coveredStar) picture.coveredStar.reset(scaledStar(IDB_STAR_FOIL, scaled(picture, starSize)));
    if (!picture.uncoveredStar) picture.uncoveredStar.reset(scaledStar(IDB_STAR_SMOOTH, scaled(picture, starSize)));
    if (!picture.font) picture.font.reset(createPointFont(L"Tahoma", 11, FW_BOLD, picture.dpi));
}

// A memory DC with the picture selected, its font and a transparent
// background, for the length of one drawing.
class PictureDc {
public:
    explicit PictureDc(const CardPicture& picture)
        : bitmap_(dc_.get(), picture.bitmap.get()), font_(dc_.get(), picture.font.get()) {
        SetBkMode(dc_.get(), TRANSPARENT);
    }
    HDC get() const { return dc_.get(); }

private:
    MemoryDc dc_;
    Selection bitmap_;
    Selection font_;
};

// How a star's cell looks: empty before the first card, its covered star,
// or its uncovered star with the figure, redrawn in red on the won card.
struct CellLook {
    bool shown = false;
    bool uncovered = false;
    std::int32_t figure = 0;
    bool red = false;
    bool operator==(const CellLook& other) const {
        return shown == other.shown && uncovered == other.uncovered && figure == other.figure && red == other.red;
    }
};

CellLook lookOf(const CardShown& card, CellHit star) {
    CellLook look;
    look.shown = card.game != 0;
    look.uncovered = look.shown && uncovered(card, star);
    if (look.uncovered) {
        look.figure = figureUnder(card, star);
        look.red = winningStar(card, star);
    }
    return look;
}

// The comment under the won card; nothing on any other.
std::string commentOf(const CardShown& card) { return cardWon(card) ? card.comment.str() : std::string(); }

void drawStar(HDC dc, const CardPicture& picture, const GdiObject<HBITMAP>& star, int x, int y) {
    if (!star) return;
    MemoryDc source;
    Selection from(source.get(), star.get());
    const int size = scaled(picture, starSize);
    BitBlt(dc, scaled(picture, x), scaled(picture, y), size, size, source.get(), 0, 0, SRCCOPY);
}

void drawFigure(HDC dc, const CardPicture& picture, CellHit star, std::int32_t figure, COLORREF colour) {
    const int dx = figureDx(figure);
    if (dx < 0) return;
    const std::wstring text = figureText(figure, editionTexts.currencySuffix);
    SetTextColor(dc, colour);
    TextOutW(dc, scaled(picture, cellX(star.column) + dx), scaled(picture, cellY(star.row) + figureDy), text.c_str(),
             static_cast<int>(text.size()));
}

// A cell drawn whole from its look, over whatever it showed: the uncovered
// star sits left of the covered one, over all of it but its right edge, as
// when a star is uncovered on the card; a red figure goes over the figure.
void drawCell(HDC dc, const CardPicture& picture, CellHit star, const CellLook& look) {
    const int x = cellX(star.column), y = cellY(star.row), size = scaled(picture, starSize);
    fillBackground(dc, RECT{scaled(picture, x - uncoveredShift), scaled(picture, y), scaled(picture, x) + size,
                            scaled(picture, y) + size});
    if (!look.shown) return;
    drawStar(dc, picture, picture.coveredStar, x, y);
    if (!look.uncovered) return;
    drawStar(dc, picture, picture.uncoveredStar, x - uncoveredShift, y);
    drawFigure(dc, picture, star, look.figure, figureColour);
    if (look.red) drawFigure(dc, picture, star, look.figure, winningColour);
}

// The band under the stars, where the comment stands on one line, cut at
// the picture's edge.
void drawComment(HDC dc, const CardPicture& picture, const std::string& comment) {
    fillBackground(dc, RECT{0, scaled(picture, cellY(cardRows) + starSize), scaled(picture, canvasWidth),
                            scaled(picture, canvasHeight)});
    SetTextColor(dc, commentColour);
    TextOutA(dc, scaled(picture, commentX), scaled(picture, commentY), comment.c_str(),
             static_cast<int>(comment.size()));
}

}  // namespace

CardPicture::CardPicture(int dpi)
    : dpi(dpi), bitmap(compatibleBitmap(toScreen(canvasWidth, dpi), toScreen(canvasHeight, dpi))) {
    MemoryDc dc;
    Selection selected(dc.get(), bitmap.get());
    fillBackground(dc.get(), RECT{0, 0, toScreen(canvasWidth, dpi), toScreen(canvasHeight, dpi)});
}

void showOnPicture(CardPicture& picture, const CardShown& card) {
    if (!picture.bitmap) return;
    prepareDrawing(picture);
    PictureDc dc(picture);
    for (int row = 1; row <= cardRows; ++row) {
        for (int column = 1; column <= cardColumns; ++column) {
            const CellLook look = lookOf(card, {column, row});
            if (!(look == lookOf(picture.shown, {column, row}))) drawCell(dc.get(), picture, {column, row}, look);
        }
    }
    const std::string comment = commentOf(card);
    if (comment != commentOf(picture.shown)) drawComment(dc.get(), picture, comment);
    picture.shown = card;
}

void paintCard(HDC dc, const RECT& control, const CardPicture* picture, const CardShown& card, bool markShown) {
    if (!picture || !picture->bitmap) {
        fillBackground(dc, control);
        return;
    }
    const int width = scaled(*picture, canvasWidth), height = scaled(*picture, canvasHeight);
    fillBackground(dc, RECT{width, control.top, control.right, control.bottom});
    fillBackground(dc, RECT{control.left, height, width, control.bottom});
    {
        MemoryDc source;
        Selection from(source.get(), picture->bitmap.get());
        BitBlt(dc, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
    if (!markShown) return;
    const int x = cellX(card.mark.column), y = cellY(card.mark.row);
    const RECT around = {scaled(*picture, x - uncoveredShift - markMargin), scaled(*picture, y - markMargin),
                         scaled(*picture, x + starSize + markMargin), scaled(*picture, y + starSize + markMargin)};
    DrawFocusRect(dc, &around);
}
