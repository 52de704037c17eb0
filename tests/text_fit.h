// Whether a control's text fits its box as the control draws it: a label's
// wrapped lines, a field's text (or its masking characters) within its
// formatting rectangle, a button's text inside its edges. Read in the
// control's own thread: the in-process tests and the window probe use it.
#pragma once

#include <windows.h>

#include <string>

struct TextFit {
    SIZE needed;
    SIZE room;
    bool fits() const { return needed.cx <= room.cx && needed.cy <= room.cy; }
};

inline TextFit textFit(HWND control) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    RECT room;
    GetClientRect(control, &room);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    UINT wrap = DT_WORDBREAK | DT_EXPANDTABS;
    if (lstrcmpiW(kind, L"Edit") == 0) {
        const LONG bottom = room.bottom;
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        room.bottom = bottom < room.bottom ? bottom : room.bottom;
        if (const auto mask = static_cast<wchar_t>(SendMessageW(control, EM_GETPASSWORDCHAR, 0, 0))) {
            text.assign(text.size(), mask);
        }
        wrap = GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    } else if (lstrcmpiW(kind, L"Button") == 0) {
        // Inside the button's raised edge and its focus rectangle.
        InflateRect(&room, -3, -3);
        wrap = DT_SINGLELINE;
    }
    RECT needed = room;
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_NOPREFIX | wrap);
    // An empty field still shows a line.
    if (needed.bottom - needed.top < metrics.tmHeight) needed.bottom = needed.top + metrics.tmHeight;
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return TextFit{{needed.right - needed.left, needed.bottom - needed.top},
                   {room.right - room.left, room.bottom - room.top}};
}
