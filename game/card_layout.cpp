#include "card_layout.h"

int figureDx(int figure) {
    if (figure <= 9) return 39;
    if (figure <= 99) return 34;
    if (figure <= 999) return 27;
    if (figure <= 9999) return 23;
    return -1;
}

std::wstring figureText(int figure, const wchar_t* currencySuffix) {
    return std::to_wstring(figure) + currencySuffix;
}
