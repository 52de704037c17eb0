#include "dialog_support.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

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

// A function of user32 that older Windows lacks, looked up by name: null
// where the system has none.
template <typename Function>
Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

constexpr int templatePoints = 8;

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : fullScaleDpi;
}

// One rule for the face of the dialogs' templates and of their controls:
// MS Sans Serif is a face of bitmaps, those the system installs for its own
// scale, made to be drawn at their own sizes. Only a window at 100 % on a
// system at 100 % gets the 100 % bitmaps; at any other scale, and at 100 % on
// a system of another scale, the system's dialog face (MS Shell Dlg: its
// outline successor, Microsoft Sans Serif, on Windows, or the face of the
// system's language; Tahoma under Wine) draws the size asked for.
const wchar_t* faceAtScale(const wchar_t* face, int dpi) {
    const bool bitmapsFit = dpi == fullScaleDpi && systemDpi() == fullScaleDpi;
    return !bitmapsFit && lstrcmpW(face, dialogFace) == 0 ? L"MS Shell Dlg" : face;
}

HFONT createPixelFont(const wchar_t* face, int height, int weight) {
    LOGFONTW font = {};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

int pointsAtScale(int points, int dpi) { return MulDiv(points, dpi, 72); }

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
    out.push_back(templatePoints);
    out.push_back(FW_BOLD);
    out.push_back(0);    // not italic, character set 0
    putText(out, faceAtScale(dialogFace, systemDpi()));
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
    // Windows before 10 (1607) has no GetDpiForWindow; the system's scale
    // stands in for it there.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = user32Function<DpiForWindow>("GetDpiForWindow");
    if (window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
    }
    return systemDpi();
}

BaseUnits fullScaleBaseUnits(int dpi) {
    // Measured in the face that the windows take at that scale, at its size
    // of 100 %: an outline face gives the same units on any system.
    GdiObject<HFONT> font(createPixelFont(faceAtScale(dialogFace, dpi), pointsAtScale(templatePoints, fullScaleDpi),
                                          FW_BOLD));
    MemoryDc dc;
    Selection selected(dc.get(), font.get());
    static const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TEXTMETRICW metrics;
    SIZE letters;
    if (!font || !dc || !GetTextMetricsW(dc.get(), &metrics) ||
        !GetTextExtentPoint32W(dc.get(), alphabet, static_cast<int>(std::size(alphabet)) - 1, &letters)) {
        // The system's own dialog units at its scale, where nothing can be measured.
        const LONG units = GetDialogBaseUnits();
        const int system = systemDpi();
        return BaseUnits{mulDiv(LOWORD(units), fullScaleDpi, system), mulDiv(HIWORD(units), fullScaleDpi, system)};
    }
    // The average width of a letter, rounded, as the dialog manager takes it.
    return BaseUnits{(letters.cx / 26 + 1) / 2, static_cast<int>(metrics.tmHeight)};
}

PixelSize windowSizeAround(HWND window, PixelSize client, bool menu, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame = {0, 0, client.cx, client.cy};
    // Windows without AdjustWindowRectExForDpi draws every frame at the
    // system's scale.
    if (!adjustForDpi || !adjustForDpi(&frame, style, menu, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return PixelSize{frame.right - frame.left, frame.bottom - frame.top};
}

void placeWindow(HWND window, PixelSize size, const RECT* suggested) {
    POINT place = suggested ? POINT{suggested->left, suggested->top} : POINT{};
    if (!suggested) {
        // Grown where it stands, a window can reach past its monitor's
        // taskbar or edge: it moves back inside, its top left first.
        RECT now;
        GetWindowRect(window, &now);
        place = POINT{now.left, now.top};
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            place.x = std::max(work.left, std::min(place.x, work.right - size.cx));
            place.y = std::max(work.top, std::min(place.y, work.bottom - size.cy));
        }
    }
    SetWindowPos(window, nullptr, place.x, place.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR answerScaledSize(HWND dialog, PixelSize size, LPARAM lParam) {
    *reinterpret_cast<SIZE*>(lParam) = SIZE{size.cx, size.cy};
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void keepOwnScaling(HWND dialog) {
    // Windows 10 (1703) and later lay out a dialog, and give its controls a
    // font of the dialog manager's, at a new scale.
    using DialogBehaviour = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    using ControlBehaviour =
        BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);
    static const auto dialogBehaviour = user32Function<DialogBehaviour>("SetDialogDpiChangeBehavior");
    static const auto controlBehaviour = user32Function<ControlBehaviour>("SetDialogControlDpiChangeBehavior");
    if (dialogBehaviour) dialogBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    if (!controlBehaviour) return;
    const auto own = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        controlBehaviour(control, own, own);
    }
}

HFONT createPointFont(const wchar_t* face, int points, int weight, int dpi) {
    return createPixelFont(faceAtScale(face, dpi), pointsAtScale(points, dpi), weight);
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

namespace {

SetupDialog* setupOf(HWND dialog) { return reinterpret_cast<SetupDialog*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

PixelSize setupDialogSize(HWND dialog, const SetupDialog& setup, int dpi) {
    const PixelSize client = unitsAtScale({setup.frame.cx, setup.frame.cy}, fullScaleBaseUnits(dpi), dpi);
    return windowSizeAround(dialog, client, false, dpi);
}

// The dialog and its controls take their size at 100 % grown to that
// scale, as the main window does, so that the texts, in fonts of that scale,
// fill their boxes as they do at 100 %. The fonts they had go once they
// have their new ones.
void scaleSetupDialog(HWND dialog, SetupDialog& setup, int dpi, const RECT* suggested) {
    auto fonts = std::make_unique<GdiObject<HFONT>[]>(setup.fonts.size());
    for (std::size_t k = 0; k < setup.fonts.size(); ++k) {
        const DialogFont& font = setup.fonts[k];
        fonts[k].reset(createPointFont(font.face, font.points, font.weight, dpi));
    }
    const BaseUnits base = fullScaleBaseUnits(dpi);
    for (const DialogItem& item : setup.items) {
        HWND control = GetDlgItem(dialog, static_cast<int>(item.id));
        SetWindowPos(control, nullptr, unitsAcross(item.x, base, dpi), unitsDown(item.y, base, dpi),
                     unitsAcross(item.cx, base, dpi), unitsDown(item.cy, base, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        const HFONT font = fonts[static_cast<std::size_t>(item.font)].get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    setup.made = std::move(fonts);
    placeWindow(dialog, setupDialogSize(dialog, setup, dpi), suggested);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void openSetupDialog(HWND dialog, SetupDialog& setup) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&setup));
    keepOwnScaling(dialog);
    scaleSetupDialog(dialog, setup, windowDpi(dialog), nullptr);
}

}  // namespace

INT_PTR showSetupDialog(SetupDialog& setup, HWND owner, DLGPROC procedure) {
    const std::vector<WORD> dialogTemplate = buildDialogTemplate(setup.frame, setup.items);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner, procedure,
                                   reinterpret_cast<LPARAM>(&setup));
}

INT_PTR setupDialogDefaults(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        openSetupDialog(dialog, *reinterpret_cast<SetupDialog*>(lParam));
        return TRUE;
    }
    SetupDialog* setup = setupOf(dialog);
    switch (message) {
    case WM_NCACTIVATE:
        if (setup) keepFocus(dialog, wParam != 0, setup->savedFocus);
        break;
    case WM_DPICHANGED:
        if (!setup) break;
        scaleSetupDialog(dialog, *setup, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_GETDPISCALEDSIZE:
        if (!setup) break;
        return answerScaledSize(dialog, setupDialogSize(dialog, *setup, static_cast<int>(wParam)), lParam);
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
