#include "dialog_support.h"

#include <commctrl.h>

namespace {

void putText(std::vector<WORD>& out, const wchar_t* text) {
    for (const wchar_t* p = text; *p; ++p) out.push_back(static_cast<WORD>(*p));
    out.push_back(0);
}

void putDword(std::vector<WORD>& out, DWORD value) {
    out.push_back(LOWORD(value));
    out.push_back(HIWORD(value));
}

void alignToDword(std::vector<WORD>& out) {
    if (out.size() % 2) out.push_back(0);
}

HBRUSH blackBrush() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

// Answers WM_CTLCOLOR* for a green-on-black control.
INT_PTR greenOnBlack(HDC dc) {
    SetTextColor(dc, RGB(0, 255, 0));
    SetBkColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<INT_PTR>(blackBrush());
}

}  // namespace

void prepareCommonControls() {
    HMODULE commonControls = LoadLibraryA("COMCTL32.DLL");
    if (!commonControls) return;
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    using Init = void(WINAPI*)();
    if (auto initEx = reinterpret_cast<InitEx>(
            reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")))) {
        const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX),
                                              ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
        initEx(&classes);
    } else if (auto init = reinterpret_cast<Init>(
                   reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControls")))) {
        init();
    }
    // Under the manifest the program's own controls (the card control) come
    // from this library too: one reference for the life of the process keeps
    // the release below from unloading it only for the first control to load
    // it all over again.
    HMODULE kept;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(commonControls), &kept);
    FreeLibrary(commonControls);
}

std::vector<WORD> buildDialogTemplate(const DialogFrame& frame, const std::vector<DialogItem>& items) {
    std::vector<WORD> out;
    out.push_back(1);       // version
    out.push_back(0xFFFF);  // extended template
    putDword(out, 0);       // help id
    putDword(out, 0);       // extended style
    putDword(out, frame.style | DS_SETFONT);
    out.push_back(static_cast<WORD>(items.size()));
    for (short v : {frame.x, frame.y, frame.cx, frame.cy}) out.push_back(static_cast<WORD>(v));
    out.push_back(0);  // no menu
    out.push_back(0);  // the standard dialog class
    putText(out, frame.title);
    out.push_back(8);    // points
    out.push_back(FW_BOLD);
    out.push_back(0);    // not italic, character set 0
    putText(out, L"MS Sans Serif");
    for (const DialogItem& item : items) {
        alignToDword(out);
        putDword(out, 0);
        putDword(out, item.exStyle);
        putDword(out, item.style);
        for (short v : {item.x, item.y, item.cx, item.cy}) out.push_back(static_cast<WORD>(v));
        putDword(out, item.id);
        out.push_back(0xFFFF);
        out.push_back(item.windowClass);
        putText(out, item.text);
        out.push_back(0);  // no creation data
    }
    return out;
}

int windowDpi(HWND window) {
    // Windows before 10 (1607) has no GetDpiForWindow: it is looked up, and
    // the system's scale stands in for it there.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : fullScaleDpi;
}

SIZE dialogUnitsAtScale(int cx, int cy, int dpi) {
    // The base units of the dialogs' template font (MS Sans Serif, 8 points,
    // bold) at 100 %. They are not measured: at another scale the system may
    // give that face from another set of bitmap sizes, wider than in
    // proportion.
    const SIZE base = {7, 13};
    return SIZE{MulDiv(MulDiv(cx, base.cx, 4), dpi, fullScaleDpi), MulDiv(MulDiv(cy, base.cy, 8), dpi, fullScaleDpi)};
}

HFONT createPointFont(const wchar_t* face, int points, int weight, int dpi) {
    LOGFONTW font = {};
    const int scale = dpi > 0 ? dpi : windowDpi(nullptr);
    font.lfHeight = -MulDiv(points, scale, 72);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    // MS Sans Serif is a bitmap face with a set of sizes for 100 %: at
    // another scale it would be drawn at the nearest of them, and thin. Its
    // outline successor draws the size asked for.
    if (scale != fullScaleDpi && lstrcmpW(face, L"MS Sans Serif") == 0) face = L"Microsoft Sans Serif";
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void keepFocus(HWND window, bool activating, HWND& savedFocus) {
    if (!activating) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) savedFocus = focus;
    } else if (savedFocus) {
        if (IsWindow(savedFocus)) SetFocus(savedFocus);
        savedFocus = nullptr;
    }
}

INT_PTR setupDialogDefaults(HWND dialog, UINT message, WPARAM wParam, HWND& savedFocus) {
    switch (message) {
    case WM_NCACTIVATE: keepFocus(dialog, wParam != 0, savedFocus); break;
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(blackBrush());
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return greenOnBlack(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
    }
    return FALSE;
}

std::wstring controlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(control, &wide[0], length + 1)));
    return wide;
}

AnsiText ansiText(const std::wstring& text, std::size_t capacity, UINT codePage) {
    // A UTF-8 code page holds every character and takes neither flag below.
    const bool utf8 = (codePage == CP_ACP ? GetACP() : codePage) == CP_UTF8;
    AnsiText out = {std::string(), true};
    for (std::size_t at = 0; at < text.size();) {
        // One character at a time, a surrogate pair as one. Half a pair is
        // no character: every code page, UTF-8 too, turns it into another.
        const bool pair = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() && IS_LOW_SURROGATE(text[at + 1]);
        const int units = pair ? 2 : 1;
        char bytes[8];
        const int length = WideCharToMultiByte(codePage, 0, &text[at], units, bytes, sizeof bytes, nullptr, nullptr);
        if (length <= 0 || out.bytes.size() + static_cast<std::size_t>(length) > capacity) break;
        if (!pair && (IS_HIGH_SURROGATE(text[at]) || IS_LOW_SURROGATE(text[at]))) out.exact = false;
        BOOL usedDefault = FALSE;
        char exact[8];
        if (!utf8 && (WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &text[at], units, exact, sizeof exact,
                                          nullptr, &usedDefault) <= 0 ||
                      usedDefault)) {
            out.exact = false;
        }
        out.bytes.append(bytes, static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(units);
    }
    return out;
}

AnsiText controlTextAnsi(HWND dialog, int id, std::size_t capacity) {
    return ansiText(controlText(dialog, id), capacity);
}

std::wstring wideText(const char* text, UINT codePage) {
    const int chars = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 1), L'\0');
    if (chars > 0) MultiByteToWideChar(codePage, 0, text, -1, &wide[0], chars);
    wide.resize(wide.size() - 1);
    return wide;
}

void setControlTextAnsi(HWND dialog, int id, const char* text) { SetDlgItemTextW(dialog, id, wideText(text).c_str()); }
