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

HFONT createPointFont(const wchar_t* face, int points, int weight) {
    HDC screen = GetDC(nullptr);
    int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(points, pixelsPerInch, 72);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
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

namespace {

std::wstring controlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(control, &wide[0], length + 1)));
    return wide;
}

}  // namespace

std::string controlTextAnsi(HWND dialog, int id) {
    const std::wstring wide = controlText(dialog, id);
    const int length = static_cast<int>(wide.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

bool controlTextFitsAnsi(HWND dialog, int id) {
    const std::wstring wide = controlText(dialog, id);
    // A UTF-8 code page holds every character and takes no default-character flag.
    if (wide.empty() || GetACP() == CP_UTF8) return true;
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    BOOL usedDefault = FALSE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), length, &ansi[0], bytes, nullptr,
                               &usedDefault) > 0 &&
           !usedDefault;
}

void setControlTextAnsi(HWND dialog, int id, const char* text) {
    int chars = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 1), L'\0');
    if (chars > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], chars);
    SetDlgItemTextW(dialog, id, wide.c_str());
}
