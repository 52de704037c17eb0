// What the program's three windows share: in-memory dialog templates in a
// bold 8-point font (MS Sans Serif where its bitmaps fit the scale), dialog
// fonts, the windows' sizes at their display scale, the green-on-black
// colours and the focus kept across deactivation.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "display_scale.h"
#include "win_handles.h"

constexpr WORD buttonClass = 0x0080;
constexpr WORD editClass = 0x0081;
constexpr WORD staticClass = 0x0082;

struct DialogItem {
    WORD windowClass;
    DWORD id;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    const wchar_t* text;
    // Its font in the set-up dialog's list of fonts.
    int font;
};

struct DialogFrame {
    DWORD style;
    short x, y, cx, cy;
    const wchar_t* title;
};

// Prepares the common controls of the version that the manifest binds (the
// Windows 95 classes, the date and the internet classes), found by name: a
// system without the library, or without InitCommonControlsEx, still starts.
void prepareCommonControls();

// An extended dialog template (the plain one cannot carry a bold font), in
// the template's face at the system's scale.
std::vector<WORD> buildDialogTemplate(const DialogFrame& frame, const std::vector<DialogItem>& items);

// A font of the given size in points at that display scale, in the face the
// templates take there where the face is theirs.
HFONT createPointFont(const wchar_t* face, int points, int weight, int dpi);
// The display scale of a window in dots per inch (96 for 100 %); of the
// system for no window.
int windowDpi(HWND window);
// The base units of the template's font at 100 %, measured as the dialog
// manager measures them, in the face that the windows take at that scale.
BaseUnits fullScaleBaseUnits(int dpi);
// The size of the window whose client area has that size at that scale,
// its frame (and its menu bar, with `menu`) measured at that scale.
PixelSize windowSizeAround(HWND window, PixelSize client, bool menu, int dpi);
// Gives the window that size, at the top left of the place suggested, or
// for none where it stands, moved as far as it must to lie within its
// monitor's work area (its top left first where it is too big for it).
void placeWindow(HWND window, PixelSize size, const RECT* suggested);
// A dialog's answer to WM_GETDPISCALEDSIZE: its size at the new scale.
INT_PTR answerScaledSize(HWND dialog, PixelSize size, LPARAM lParam);
// The dialog lays itself out and chooses its fonts at every scale: where the
// system would do it for a dialog too, it is told not to.
void keepOwnScaling(HWND dialog);

// A button's command: a click (BN_CLICKED), or the same command from an
// accelerator, whose notification code is 1.
constexpr bool isButtonCommand(WORD notification) { return notification == BN_CLICKED || notification == 1; }

// WM_NCACTIVATE: remember the focus when deactivated, give it back when
// activated again.
void keepFocus(HWND window, bool activating, HWND& savedFocus);

// The face of the templates' font and of the set-up dialogs' own fonts: its
// bitmaps give way to the system's dialog face where they do not fit the
// scale (createPointFont).
constexpr const wchar_t* dialogFace = L"MS Sans Serif";

struct DialogFont {
    const wchar_t* face;
    int points;
    int weight;
};

// A set-up dialog while it is open: its template, the fonts its controls
// take (made at the dialog's scale) and the focus kept across deactivation.
struct SetupDialog {
    DialogFrame frame;
    std::vector<DialogItem> items;
    std::vector<DialogFont> fonts;
    std::unique_ptr<GdiObject<HFONT>[]> made = nullptr;
    HWND savedFocus = nullptr;
};

// Shows the dialog modally; returns its result. Its fonts go with it.
INT_PTR showSetupDialog(SetupDialog& setup, HWND owner, DLGPROC procedure);

// What the two set-up dialogs handle alike: their size and fonts at their
// scale when they open and at every change of it, green on black, the
// focus kept across deactivation, and the system's close command ending the
// dialog with 0. Returns the dialog procedure's result for the message.
INT_PTR setupDialogDefaults(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A text in a single-byte or double-byte code page, as the plain conversion
// gives it: a character the code page cannot hold becomes "?" or a look-alike.
struct AnsiText {
    std::string bytes;
    // Whether every character kept is held exactly.
    bool exact;
};

// Whole characters of `text`, as many as fit in `capacity` bytes: a
// character of two bytes is never cut in half.
AnsiText ansiText(const std::wstring& text, std::size_t capacity, UINT codePage = CP_ACP);
// The text of a dialog control.
std::wstring controlText(HWND dialog, int id);
// The text of a dialog control, the same way.
AnsiText controlTextAnsi(HWND dialog, int id, std::size_t capacity);
// A text of the system's ANSI code page (or of that one) in UTF-16.
std::wstring wideText(const char* text, UINT codePage = CP_ACP);
void setControlTextAnsi(HWND dialog, int id, const char* text);
