// The floor of the program's start-up: what it cannot go below. The same
// manifest (floor_window.rc) and the same common-controls preparation as the
// game, then an empty window like the minimal program's.
#include "empty_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    prepareCommonControls();
    return runEmptyWindow(instance, L"Floor window");
}
