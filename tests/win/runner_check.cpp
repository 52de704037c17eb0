// For the test command's check of its own runner: a test that crashes inside
// a control's procedure as it handles a posted press, after a sound has
// started, as the card's presses start their click (Wine then ends the
// program with exit code 0 and no summary), and one that ends the program
// with 0 in its middle. The runner must fail both, and say why.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

namespace {

WNDPROC baseProc;

LRESULT CALLBACK crashingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) *static_cast<volatile int*>(nullptr) = 1;
    return CallWindowProcA(baseProc, window, message, wParam, lParam);
}

}  // namespace

TEST(RunnerCheck, CrashesInsideAHandler) {
    PlaySoundW(L"SystemAsterisk", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(crashingProc)));
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    DestroyWindow(control);
}

TEST(RunnerCheck, EndsWithoutItsSummary) { ExitProcess(0); }
