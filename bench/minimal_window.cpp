// The start-up baseline of any program: the least a Win32 program does to
// show an empty window from a dialog template of the main window's size and
// font.
#include "empty_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runEmptyWindow(instance, L"Minimal window"); }
