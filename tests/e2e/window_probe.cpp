// A read-only probe that the end-to-end driver hooks into the game's thread:
// when the window receives the probe message it writes what only that
// thread can read (the menu, the fonts of the controls and whether their
// texts fit, the sizes of the window's icons, its manifest, the common
// controls libraries loaded) to a file in %TEMP%. Asked for, it first tells
// the window of changes of display scale, as the system would.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

void describeMenu(FILE* out, HMENU menu, int depth) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 255;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        fprintf(out, "menu %d %u %s %s %s\n", depth, item.wID,
                (item.fType & MFT_SEPARATOR) ? "separator" : "string",
                (item.fState & MFS_GRAYED) ? "grayed" : "enabled", utf8(text).c_str());
        if (item.hSubMenu) describeMenu(out, item.hSubMenu, depth + 1);
    }
}

BOOL CALLBACK describeFont(HWND child, LPARAM context) {
    FILE* out = reinterpret_cast<FILE*>(context);
    LOGFONTW font = {};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (handle && GetObjectW(handle, sizeof font, &font)) {
        int points = MulDiv(-font.lfHeight, 72, dpi);
        fprintf(out, "font %d %d %ld %s\n", GetDlgCtrlID(child), points, font.lfWeight, utf8(font.lfFaceName).c_str());
        // The font the system drew with: its height in pixels and its weight.
        HDC dc = GetDC(child);
        HGDIOBJ previous = SelectObject(dc, handle);
        TEXTMETRICW drawn;
        if (GetTextMetricsW(dc, &drawn)) fprintf(out, "drawn %d %ld %ld\n", GetDlgCtrlID(child), drawn.tmHeight, drawn.tmWeight);
        SelectObject(dc, previous);
        ReleaseDC(child, dc);
    }
    return TRUE;
}

// Whether a control's text fits its box as the control draws it: a label's
// wrapped lines, a field's text (or its masking characters) within its
// formatting rectangle, a button's text inside its edges. Written as the
// control's id, 1 or 0, and the size needed and the room there is.
BOOL CALLBACK describeFit(HWND child, LPARAM context) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW) return TRUE;
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(child, &text[0], static_cast<int>(text.size()))));
    RECT room;
    GetClientRect(child, &room);
    UINT wrap = DT_WORDBREAK | DT_EXPANDTABS;
    if (lstrcmpiW(kind, L"Edit") == 0) {
        const LONG bottom = room.bottom;
        SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        room.bottom = std::min(bottom, room.bottom);
        if (const auto mask = static_cast<wchar_t>(SendMessageW(child, EM_GETPASSWORDCHAR, 0, 0))) {
            text.assign(text.size(), mask);
        }
        wrap = GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
    } else if (lstrcmpiW(kind, L"Button") == 0) {
        InflateRect(&room, -3, -3);  // inside the raised edge and the focus rectangle
        wrap = DT_SINGLELINE;
    }
    HDC dc = GetDC(child);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    RECT needed = room;
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_NOPREFIX | wrap);
    SelectObject(dc, previous);
    ReleaseDC(child, dc);
    // An empty field still shows a line.
    const LONG width = needed.right - needed.left, height = std::max(needed.bottom - needed.top, metrics.tmHeight);
    const LONG roomWidth = room.right - room.left, roomHeight = room.bottom - room.top;
    fprintf(reinterpret_cast<FILE*>(context), "fit %d %d %ld %ld %ld %ld\n", GetDlgCtrlID(child),
            width <= roomWidth && height <= roomHeight, width, height, roomWidth, roomHeight);
    return TRUE;
}

// The window told it moved to a display of that scale as Windows tells a
// window of its own scale: first asked for its size there
// (WM_GETDPISCALEDSIZE), then given a place suggested on that display (one
// for each scale, away from the screen's corner), of that size where it
// answered, else grown in proportion. Returns the size it answered.
SIZE moveToDpi(HWND window, int dpi, POINT& place) {
    RECT now;
    GetWindowRect(window, &now);
    SIZE size = {MulDiv(now.right - now.left, dpi, 96), MulDiv(now.bottom - now.top, dpi, 96)};
    SIZE answered = {};
    if (SendMessageW(window, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi), reinterpret_cast<LPARAM>(&answered))) {
        size = answered;
    }
    place = POINT{dpi / 4, dpi / 8};
    RECT suggested = {place.x, place.y, place.x + size.cx, place.y + size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return answered;
}

void describeIcon(FILE* out, HWND window, WPARAM which, const char* name) {
    ICONINFO info = {};
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    if (!icon || !GetIconInfo(icon, &info)) return;
    BITMAP colour = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof colour, &colour)) {
        fprintf(out, "icon %s %ld %ld\n", name, colour.bmWidth, colour.bmHeight);
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

// The program's own manifest, as the system read it at start: one
// "manifest" line for each of its lines.
void describeManifest(FILE* out) {
    HRSRC found = FindResourceW(nullptr, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    if (!loaded) return;
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    std::istringstream text(std::string(bytes, SizeofResource(nullptr, found)));
    for (std::string line; std::getline(text, line);) fprintf(out, "manifest %s\n", line.c_str());
}

// The file of each common controls library in the process: where the
// program's manifest bound version 6, the one from that assembly's folder.
void describeCommonControls(FILE* out) {
    HMODULE modules[512];
    DWORD size = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &size)) return;
    DWORD count = std::min<DWORD>(size / sizeof modules[0], ARRAYSIZE(modules));
    for (DWORD i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH];
        if (!GetModuleFileNameW(modules[i], path, MAX_PATH)) continue;
        const wchar_t* name = wcsrchr(path, L'\\');
        if (!lstrcmpiW(name ? name + 1 : path, L"comctl32.dll")) fprintf(out, "comctl32 %s\n", utf8(path).c_str());
    }
}

// The platform keeps no count of a process's GDI objects under Wine: count
// the free places of the handle table instead, by filling it and emptying
// it again. Fewer free places means more objects held.
int freeGdiHandles() {
    std::vector<HBRUSH> brushes;
    while (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3))) brushes.push_back(brush);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

}  // namespace

extern "C" LRESULT CALLBACK probeHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    static const UINT probeMessage = RegisterWindowMessageW(L"QuimbaWindowProbe");
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == probeMessage) {
        // The scale asked for, after changes back and forth between it and
        // 100 %, as many as asked.
        const int dpi = static_cast<int>(message->lParam);
        SIZE answered = {};
        POINT place = {};
        for (int change = HIWORD(message->wParam); dpi && change > 0; --change) {
            answered = moveToDpi(message->hwnd, change % 2 ? dpi : 96, place);
        }
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        std::wstring partial = std::wstring(folder) + L"window-probe.part";
        if (FILE* out = _wfopen(partial.c_str(), L"w")) {
            if (HMENU menu = GetMenu(message->hwnd)) describeMenu(out, menu, 0);
            EnumChildWindows(message->hwnd, describeFont, reinterpret_cast<LPARAM>(out));
            EnumChildWindows(message->hwnd, describeFit, reinterpret_cast<LPARAM>(out));
            if (dpi) fprintf(out, "scaled-size %ld %ld\nsuggested-place %ld %ld\n", answered.cx, answered.cy, place.x, place.y);
            describeIcon(out, message->hwnd, ICON_SMALL, "small");
            describeIcon(out, message->hwnd, ICON_BIG, "big");
            describeManifest(out);
            describeCommonControls(out);
            if (LOWORD(message->wParam) == 1) {
                PROCESS_MEMORY_COUNTERS_EX memory = {};
                GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                     sizeof memory);
                // Wine leaves PrivateUsage at 0; the commit charge is the same figure.
                fprintf(out, "gdi-free %d\nprivate-bytes %lu\n", freeGdiHandles(),
                        static_cast<unsigned long>(memory.PagefileUsage));
            }
            fclose(out);
            MoveFileExW(partial.c_str(), (std::wstring(folder) + L"window-probe.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
