// Measures the program under Wine against baselines taken in the same run:
// start-up against the floor program (the game's manifest and common-controls
// preparation, an empty window), a press and Play
// against an empty message round-trip to the same window, and the photocopy
// against one plain write of the same number of bytes to the same folder.
//   bench_wine FOLDER    (FOLDER holds both editions and minimal_window.exe)
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/config_record.h"
#include "game/card_layout.h"
#include "resources/resource.h"
#include "tests/standard_config.h"
#include "shell/bmp_layout.h"
#include "shell/snapshot.h"

namespace {

double now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Row {
    std::string what;
    double value;
    double baseline;
    std::string baselineName;
};

// Seconds from the process's creation to its window showing.
double startUp(const std::wstring& program, const wchar_t* title, HWND* shown = nullptr) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::wstring commandLine = L"\"" + program + L"\"";
    double start = now();
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    HWND window = nullptr;
    while (!(window = FindWindowW(nullptr, title)) || !IsWindowVisible(window)) Sleep(0);
    double elapsed = now() - start;
    if (shown) {
        *shown = window;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return elapsed;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double timedSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    double start = now();
    SendMessageW(window, message, wParam, lParam);
    return now() - start;
}

void writeConfig(const std::wstring& path) {
    // No password: the window shows without a prompt.
    const ConfigRecord record = encodeRecord(standardConfig("", "10"));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, record.data(), recordSize, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 2) return 64;
    std::wstring folder = argv[1];
    // At another display scale (its dpi the second argument) only the card
    // is measured: presses land at the stars' scaled places.
    const int dpi = argc > 2 ? _wtoi(argv[2]) : fullScaleDpi;
    const std::string scale = dpi == fullScaleDpi ? "" : " at " + std::to_string(dpi * 100 / fullScaleDpi) + " %";
    if (folder.back() != L'\\') folder += L'\\';
    const std::wstring game = folder + L"quimba.exe", english = folder + L"glimter-lottery.exe";
    const std::wstring minimal = folder + L"minimal_window.exe", floorProgram = folder + L"floor_window.exe";
    writeConfig(folder + L"miconfig.log");
    writeConfig(folder + L"myconfig.log");
    std::vector<Row> rows;

    // Start-up, taking the programs in turn; the first round warms the caches.
    // The floor has the game's manifest and common-controls preparation and
    // shows an empty window: the game cannot start faster than it.
    std::vector<double> gameTimes, englishTimes, floorTimes, minimalTimes;
    for (int i = 0; i < (dpi == fullScaleDpi ? 21 : 0); ++i) {
        double g = startUp(game, L"Quimba Familiar");
        double f = startUp(floorProgram, L"Floor window");
        double e = startUp(english, L"Family glimter");
        double m = startUp(minimal, L"Minimal window");
        if (i > 0) gameTimes.push_back(g), englishTimes.push_back(e), floorTimes.push_back(f), minimalTimes.push_back(m);
    }
    if (dpi == fullScaleDpi) {
        rows.push_back({"start-up, quimba", median(gameTimes), median(floorTimes), "floor program"});
        rows.push_back({"start-up, glimter lottery", median(englishTimes), median(floorTimes), "floor program"});
        rows.push_back({"start-up, floor program", median(floorTimes), median(minimalTimes), "minimal program"});
    }

    // Presses and Play, sent from here as the system delivers them.
    HWND main = nullptr;
    startUp(game, L"Quimba Familiar", &main);
    HWND card = GetDlgItem(main, IDC_CARD);
    std::vector<double> presses, plays, emptyCard, emptyMain;
    for (int round = 0; round < 60; ++round) {
        plays.push_back(timedSend(main, WM_COMMAND, IDM_PLAY, 0));
        emptyMain.push_back(timedSend(main, WM_NULL, 0, 0));
        for (int p = 0; p < 8; ++p) {  // the ninth would start the pause
            emptyCard.push_back(timedSend(card, WM_NULL, 0, 0));
            LPARAM at = MAKELPARAM(toScreen(cellX(p % 3 + 1) + starSize / 2, dpi),
                                   toScreen(cellY(p / 3 + 1) + starSize / 2, dpi));
            presses.push_back(timedSend(card, WM_LBUTTONDOWN, MK_LBUTTON, at));
        }
    }
    PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
    rows.push_back({"press on a covered cell" + scale, median(presses), median(emptyCard), "empty round-trip"});
    rows.push_back({"Play (deal and covered card)" + scale, median(plays), median(emptyMain), "empty round-trip"});

    // Photocopy: the snapshot of a canvas against one write of as many bytes.
    std::vector<double> snapshots, writes;
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 790, 470);
    ReleaseDC(nullptr, screen);
    const DWORD size = bmpFileSize(790, 470);
    std::vector<char> bytes(size, 0x19);
    for (int i = 0; i < (dpi == fullScaleDpi ? 21 : 0); ++i) {
        double start = now();
        saveBitmapFile(canvas, folder + L"MiCopia.bmp");
        double snapshot = now() - start;
        start = now();
        HANDLE file = CreateFileW((folder + L"raw.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written;
        WriteFile(file, bytes.data(), size, &written, nullptr);
        SetEndOfFile(file);
        CloseHandle(file);
        double write = now() - start;
        if (i > 0) snapshots.push_back(snapshot), writes.push_back(write);
    }
    DeleteObject(canvas);
    if (dpi == fullScaleDpi) {
        rows.push_back({"Photocopy (1114894 bytes)", median(snapshots), median(writes), "one plain write"});
    }

    printf("%-38s %12s %12s  %-18s %8s\n", "measure (median)", "ms", "baseline ms", "baseline", "ratio");
    for (const Row& row : rows) {
        printf("%-38s %12.3f %12.3f  %-18s %8.2f\n", row.what.c_str(), row.value * 1000, row.baseline * 1000,
               row.baselineName.c_str(), row.value / row.baseline);
    }
    return 0;
}
