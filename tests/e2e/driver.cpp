// Drives the game from outside, as a tester at the machine would: it finds
// windows, posts commands and presses, types into fields and reads what a
// user or the system can see. One command per run; results on stdout.
//
//   driver find TITLE [MS]           wait for a visible window, print its geometry
//   driver gone MS TITLE...          wait until no window has any of these titles
//   driver children TITLE            the window's controls, in creation order
//   driver command TITLE ID          post a menu command
//   driver close TITLE               post the system's close request
//   driver settext TITLE ID TEXT     set a control's text
//   driver click TITLE ID            post a button click
//   driver press TITLE X Y           post a left-button press on the card control
//   driver sync TITLE                wait until the window's thread is idle
//   driver probe TITLE [resources]   menu, control fonts and whether their texts fit,
//                                    read inside the thread; with "resources" also GDI
//                                    and memory use
//   driver dpichanged TITLE DPI [TIMES [resources]]
//                                    the window told it moved to a display of that
//                                    scale (after changes to and from 100 %, TIMES in
//                                    all), then probed
//   driver soak TITLE PASSWORD-TITLE CONFIG-TITLE PRESSES PLAYS SETUPS PASSWORD [DPI]
//                                    long play in one run, the card at that scale
//   driver units X Y W H [...]       dialog units of the program's font, in pixels
//   driver foreground TITLE          make the window the active one
//   driver read TITLE                the card as a screen reader reads it: the card, then
//                                    each star, tab-separated (see readCard)
//   driver uncover TITLE STAR        a star's default action, from this process
//   driver focus TITLE               which of the window's controls has the keyboard
//                                    focus in its thread: its id, "window" for the
//                                    window itself, "elsewhere" for neither
//   driver count TITLE               how many visible windows have that title
//   driver hold PATH MS              hold a file open without sharing for a while
//   driver open PATH                 whether the file can be opened for reading now
//   driver errortext CODE            the system's words for an error code
//   driver layout                    the card's geometry in canvas pixels
//   driver popup shown|gone          wait until a popup menu is shown, or none is
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/card_layout.h"
#include "resources/resource.h"
#include "tests/accessible_client.h"
#include "win/dialog_support.h"

namespace {

// How long the driver waits for a window to appear, go or answer.
constexpr DWORD patience = 10000;

std::wstring wide(const char* text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], size);
    out.resize(out.size() - 1);
    return out;
}

std::string utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// Control characters would break the line format.
std::string printable(const std::wstring& text) {
    std::string out = utf8(text);
    for (char& c : out) {
        if (c == '\r') c = '^';
        if (c == '\n') c = '|';
    }
    return out;
}

HWND findVisible(const std::wstring& title) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

HWND waitFor(const std::wstring& title, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = findVisible(title)) return window;
        if (GetTickCount() - start > milliseconds) return nullptr;
        Sleep(20);
    }
}

HWND required(const char* title) {
    HWND window = waitFor(wide(title), patience);
    if (!window) {
        fprintf(stderr, "no window titled %s\n", title);
        exit(2);
    }
    return window;
}

void printRect(const char* name, const RECT& r) {
    printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int find(const char* title, DWORD timeout) {
    HWND window = waitFor(wide(title), timeout);
    if (!window) return 1;
    RECT bounds, client;
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    printRect("window", bounds);
    printRect("client", client);
    printf("style %08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
    printf("exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    printf("class %s\n", utf8(className).c_str());
    printf("owner %d\n", GetWindow(window, GW_OWNER) != nullptr);
    printf("menu %d\n", GetMenu(window) != nullptr);
    printf("foreground %d\n", GetForegroundWindow() == window);
    return 0;
}

int gone(DWORD timeout, const std::vector<std::string>& titles) {
    DWORD start = GetTickCount();
    for (const std::string& title : titles) {
        while (FindWindowW(nullptr, wide(title.c_str()).c_str())) {
            if (GetTickCount() - start > timeout) return 1;
            Sleep(20);
        }
    }
    return 0;
}

int children(const char* title) {
    HWND window = required(title);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64];
        GetClassNameW(child, className, 64);
        // WM_GETTEXT asks the control itself, also in another process.
        int length = static_cast<int>(SendMessageW(child, WM_GETTEXTLENGTH, 0, 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        length = static_cast<int>(SendMessageW(child, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                               reinterpret_cast<LPARAM>(&text[0])));
        text.resize(static_cast<size_t>(length));
        RECT r;
        GetWindowRect(child, &r);
        OffsetRect(&r, -origin.x, -origin.y);
        wchar_t mask = static_cast<wchar_t>(SendMessageW(child, EM_GETPASSWORDCHAR, 0, 0));
        printf("control %d %s %ld %ld %ld %ld %08lx %08lx %d %s\n", GetDlgCtrlID(child), utf8(className).c_str(), r.left,
               r.top, r.right - r.left, r.bottom - r.top, static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)),
               static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE)), mask != 0, printable(text).c_str());
    }
    return 0;
}

int probe(const char* title, bool resources, int movedToDpi = 0, int changes = 1) {
    HWND window = required(title);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring result = std::wstring(folder) + L"window-probe.txt";
    DeleteFileW(result.c_str());

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll(self);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"window_probe.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "probeHook")));
    if (!hook) return 3;
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook, module, GetWindowThreadProcessId(window, nullptr));
    if (!installed) return 4;
    PostMessageW(window, RegisterWindowMessageW(L"QuimbaWindowProbe"), MAKEWPARAM(resources ? 1 : 0, changes),
                 movedToDpi);
    int status = 5;
    for (int i = 0; i < 250; ++i) {
        FILE* in = _wfopen(result.c_str(), L"r");
        if (in) {
            char line[512];
            while (fgets(line, sizeof line, in)) fputs(line, stdout);
            fclose(in);
            status = 0;
            break;
        }
        Sleep(20);
    }
    UnhookWindowsHookEx(installed);
    return status;
}

// Waits for a dialog of that title, answers it and waits until it is gone.
bool closeWithButton(const std::wstring& title, int button, const std::wstring& text = L"") {
    HWND dialog = waitFor(title, patience);
    if (!dialog) return false;
    if (!text.empty()) {
        SetDlgItemTextW(dialog, IDC_PASSWORD_ENTRY, text.c_str());
        SetDlgItemTextW(dialog, IDC_PASSWORD_CONFIRM, text.c_str());
    }
    PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindow(dialog)) {
        if (GetTickCount() - start > patience) return false;
        Sleep(5);
    }
    return true;
}

// Long play in one process: presses spread over Play commands (eight cells
// a card and re-presses, so no card ends in the pause) at the stars' places
// at the card's scale, and Set up openings through the password and
// configuration dialogs.
int soak(const char* title, const char* passwordTitle, const char* configTitle, int presses, int plays, int setups,
         const char* password, int dpi) {
    HWND main = required(title);
    HWND card = GetDlgItem(main, IDC_CARD);
    const int pressesPerPlay = presses / plays;
    for (int play = 0; play < plays; ++play) {
        SendMessageW(main, WM_COMMAND, IDM_PLAY, 0);
        for (int p = 0; p < pressesPerPlay; ++p) {
            const int cell = p % 8;
            const int x = toScreen(cellX(cell % 3 + 1) + starSize / 2, dpi);
            const int y = toScreen(cellY(cell / 3 + 1) + starSize / 2, dpi);
            SendMessageW(card, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        }
        if (setups > 0 && play % (plays / setups) == 0) {
            PostMessageW(main, WM_COMMAND, IDM_SETUP, 0);
            if (!closeWithButton(wide(passwordTitle), IDC_PASSWORD_ACCEPT, wide(password))) return 1;
            if (!closeWithButton(wide(configTitle), IDC_CONFIG_CANCEL)) return 1;
        }
    }
    return IsWindow(main) ? 0 : 1;
}

INT_PTR CALLBACK quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

int units(const std::vector<int>& values) {
    const DialogFrame frame = {WS_POPUP, 0, 0, 10, 10, L""};
    std::vector<WORD> dialogTemplate = buildDialogTemplate(frame, {});
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr, quiet, 0);
    for (size_t i = 0; i + 3 < values.size(); i += 4) {
        // Position and size are mapped each on its own, as the dialog manager does.
        RECT r = {values[i], values[i + 1], values[i + 2], values[i + 3]};
        MapDialogRect(dialog, &r);
        printf("pixels %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    }
    DestroyWindow(dialog);
    return 0;
}

// A person's click activates the window before its button sees the press.
// A posted click waits for that too: an activation still under way would
// move the focus and take the press away from the button.
void activate(HWND window) {
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != window && GetTickCount() - start < patience) {
        SetForegroundWindow(window);
        Sleep(20);
    }
    DWORD_PTR result;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, patience, &result);
}

HWND control(const char* title, const char* id) {
    HWND child = GetDlgItem(required(title), atoi(id));
    if (!child) {
        fprintf(stderr, "no control %s\n", id);
        exit(2);
    }
    return child;
}

// The card's accessible object, as a screen reader gets it.
IAccessible* cardObject(const char* title) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND card = GetDlgItem(required(title), IDC_CARD);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(card, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        fprintf(stderr, "the card answers no accessible object\n");
        exit(3);
    }
    return object;
}

// A text property: its text, "-" where the object gives none, "!" and the
// error's number where it fails.
template <typename Getter>
std::string text(Getter get) {
    const AccessibleText read = readText(get);
    return FAILED(read.result) ? "!" + std::to_string(read.result) : read.given ? printable(read.text) : "-";
}

long number(HRESULT result, const VARIANT& value) { return SUCCEEDED(result) && value.vt == VT_I4 ? value.lVal : -1; }

// The card's line: "card", its child count, name, description and focused
// child (0 for the card itself, -1 for none). Then a line per star: "star",
// its id, name, value, role, state, default action, and the star that a
// hit test at the middle of its location finds.
int readCard(const char* title) {
    IAccessible* card = cardObject(title);
    LONG count = -1;
    card->get_accChildCount(&count);
    VARIANT focus;
    VariantInit(&focus);
    const long focused = number(card->get_accFocus(&focus), focus);
    const VARIANT self = childId(CHILDID_SELF);
    printf("card\t%ld\t%s\t%s\t%ld\n", count, text([&](BSTR* v) { return card->get_accName(self, v); }).c_str(),
           text([&](BSTR* v) { return card->get_accDescription(self, v); }).c_str(), focused);
    for (LONG id = 1; id <= count; ++id) {
        const VARIANT star = childId(id);
        VARIANT role, state, hit;
        VariantInit(&role);
        VariantInit(&state);
        VariantInit(&hit);
        LONG x = 0, y = 0, w = 0, h = 0;
        card->accLocation(&x, &y, &w, &h, star);
        printf("star\t%ld\t%s\t%s\t%ld\t%lx\t%s\t%ld\n", id,
               text([&](BSTR* v) { return card->get_accName(star, v); }).c_str(),
               text([&](BSTR* v) { return card->get_accValue(star, v); }).c_str(),
               number(card->get_accRole(star, &role), role), number(card->get_accState(star, &state), state),
               text([&](BSTR* v) { return card->get_accDefaultAction(star, v); }).c_str(),
               number(card->accHitTest(x + w / 2, y + h / 2, &hit), hit));
    }
    card->Release();
    return 0;
}

int uncover(const char* title, LONG id) {
    IAccessible* card = cardObject(title);
    const HRESULT result = card->accDoDefaultAction(childId(id));
    card->Release();
    return SUCCEEDED(result) ? 0 : 1;
}

}  // namespace

int main() {
    // The arguments as Unicode, whatever the code page: titles have accents.
    int argc = 0;
    LPWSTR* wideArgs = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(utf8(wideArgs[i]));
    LocalFree(wideArgs);
    if (argc < 2) return 64;
    const std::string verb = args[1];
    auto arg = [&](int i) { return i < argc ? args[static_cast<size_t>(i)].c_str() : ""; };
    DWORD timeout = argc > 3 ? static_cast<DWORD>(atoi(arg(3))) : patience;
    if (verb == "find") return find(arg(2), timeout);
    if (verb == "gone") return gone(static_cast<DWORD>(atoi(arg(2))), std::vector<std::string>(args.begin() + 3, args.end()));
    if (verb == "children") return children(arg(2));
    if (verb == "probe") return probe(arg(2), std::string(arg(3)) == "resources");
    if (verb == "dpichanged") {
        return probe(arg(2), std::string(arg(5)) == "resources", atoi(arg(3)), argc > 4 ? atoi(arg(4)) : 1);
    }
    if (verb == "soak") {
        return soak(arg(2), arg(3), arg(4), atoi(arg(5)), atoi(arg(6)), atoi(arg(7)), arg(8),
                    argc > 9 ? atoi(arg(9)) : fullScaleDpi);
    }
    if (verb == "units") {
        std::vector<int> values;
        for (int i = 2; i < argc; ++i) values.push_back(atoi(arg(i)));
        return units(values);
    }
    if (verb == "command") {
        return PostMessageW(required(arg(2)), WM_COMMAND, MAKEWPARAM(atoi(arg(3)), 0), 0) ? 0 : 1;
    }
    if (verb == "close") return PostMessageW(required(arg(2)), WM_CLOSE, 0, 0) ? 0 : 1;
    // A close as a program that closes windows sends it: handled before this returns.
    if (verb == "sendclose") {
        DWORD_PTR result;
        return SendMessageTimeoutW(required(arg(2)), WM_CLOSE, 0, 0, SMTO_NORMAL, patience, &result) ? 0 : 1;
    }
    if (verb == "settext") {
        // Under Wine a text sent to another process's control now and then
        // fails while the control lives on: it is sent again, a few times.
        HWND target = control(arg(2), arg(3));
        const std::wstring text = wide(arg(4));
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (SetWindowTextW(target, text.c_str())) return 0;
            if (!IsWindow(target)) break;
            Sleep(50);
        }
        printf("settext failed: error %lu, the control %s\n", GetLastError(), IsWindow(target) ? "still there" : "gone");
        return 1;
    }
    if (verb == "click") {
        HWND button = control(arg(2), arg(3));
        activate(GetAncestor(button, GA_ROOT));
        return PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (verb == "press") {
        HWND card = control(arg(2), std::to_string(IDC_CARD).c_str());
        LPARAM at = MAKELPARAM(atoi(arg(3)), atoi(arg(4)));
        PostMessageW(card, WM_LBUTTONDOWN, MK_LBUTTON, at);
        return PostMessageW(card, WM_LBUTTONUP, 0, at) ? 0 : 1;
    }
    if (verb == "sync") {
        DWORD_PTR result;
        return SendMessageTimeoutW(required(arg(2)), WM_NULL, 0, 0, SMTO_NORMAL, patience, &result) ? 0 : 1;
    }
    if (verb == "count") {
        int count = 0;
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, nullptr, wide(arg(2)).c_str())) != nullptr) {
            count += IsWindowVisible(window) ? 1 : 0;
        }
        printf("count %d\n", count);
        return 0;
    }
    if (verb == "hold") {
        HANDLE file = CreateFileW(wide(arg(2)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        printf("held\n");
        fflush(stdout);
        Sleep(static_cast<DWORD>(atoi(arg(3))));
        CloseHandle(file);
        return 0;
    }
    if (verb == "open") {
        HANDLE file = CreateFileW(wide(arg(2)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        CloseHandle(file);
        return 0;
    }
    if (verb == "errortext") {
        wchar_t text[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(atoi(arg(2))), 0, text, 512, nullptr);
        std::wstring words(text);
        words.erase(words.find_last_not_of(L" \r\n") + 1);
        printf("%s\n", utf8(words).c_str());
        return 0;
    }
    if (verb == "popup") {
        const bool wanted = std::string(arg(2)) == "shown";
        DWORD start = GetTickCount();
        for (;;) {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if ((menu && IsWindowVisible(menu)) == wanted) return 0;
            if (GetTickCount() - start > patience) return 1;
            Sleep(20);
        }
    }
    if (verb == "layout") {
        printf("cell-x %d %d %d\ncell-y %d %d %d\n", cellX(1), cellX(2), cellX(3), cellY(1), cellY(2), cellY(3));
        printf("star %d\nshift %d\ncomment %d %d\nmark %d\n", starSize, uncoveredShift, commentX, commentY, markMargin);
        return 0;
    }
    if (verb == "foreground") return SetForegroundWindow(required(arg(2))) ? 0 : 1;
    if (verb == "read") return readCard(arg(2));
    if (verb == "uncover") return uncover(arg(2), atol(arg(3)));
    if (verb == "focus") {
        HWND window = required(arg(2));
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread)) return 1;
        HWND focus = thread.hwndFocus;
        if (focus == window) printf("focus window\n");
        else if (focus && IsChild(window, focus)) printf("focus %d\n", GetDlgCtrlID(focus));
        else printf("focus elsewhere\n");
        return 0;
    }
    return 64;
}
