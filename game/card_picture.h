// A picture of the card at one display scale, drawn from the record of the
// card on screen (card_rules), and the painting of the card control from it.
#pragma once

#include <windows.h>

#include "../win/win_handles.h"
#include "card_rules.h"

// A picture of the card, what it is drawn with at its scale (the stars
// scaled from their large originals, the figures' font at that size, made
// once a card is drawn on it) and the record that it shows.
struct CardPicture {
    // The picture of no card yet: the card's background alone.
    explicit CardPicture(int dpi);
    CardPicture(const CardPicture&) = delete;
    CardPicture& operator=(const CardPicture&) = delete;

    const int dpi;
    GdiObject<HBITMAP> bitmap;
    GdiObject<HBITMAP> coveredStar;
    GdiObject<HBITMAP> uncoveredStar;
    GdiObject<HFONT> font;
    CardShown shown;
};

// The picture shows the card as the record has it: what differs from what it
// showed is drawn again, each part from the record alone, so that it always
// holds what a picture made afresh for the record would hold.
void showOnPicture(CardPicture& picture, const CardShown& card);

// Paints the card control from the picture: the card, the card's
// background over the rest of the control (all of it where there is no
// picture yet) and, where `markShown`, the keyboard's frame around the
// marked star.
void paintCard(HDC dc, const RECT& control, const CardPicture* picture, const CardShown& card, bool markShown);
