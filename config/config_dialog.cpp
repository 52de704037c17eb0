#include "config_dialog.h"

#include "../resources/resource.h"
#include "../resources/strings.h"
#include "../win/dialog_support.h"
#include "config_checks.h"
#include "game_config.h"
#include "password_rule.h"

namespace {

// How the dialog ended; the system's close command ends it like Cancel.
constexpr INT_PTR nothingStored = 0;
constexpr INT_PTR setupStored = 1;

// The dialog's fonts, in the order of its controls' font numbers.
enum ConfigFont { labelFont, numberFont, textFont, buttonFont };

std::vector<DialogItem> configItems() {
    const DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFT;
    const DWORD number = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_NUMBER;
    const DWORD comment = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_MULTILINE;
    const DWORD password = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_PASSWORD;
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    const DWORD edge = WS_EX_CLIENTEDGE;
    const EditionTexts& t = editionTexts;
    std::vector<DialogItem> items = {
        {staticClass, IDC_CONFIG_INTRO, 5, 5, 280, 15, label, 0, t.configIntro, labelFont},
        {staticClass, IDC_CONFIG_FIGURES_LABEL, 5, 20, 280, 20, label, 0, t.configFiguresLabel, labelFont},
    };
    // Figures 1 to 5 in the left column, 6 to 10 in the right one.
    for (int k = 0; k < prizeFigureCount; ++k) {
        items.push_back({editClass, static_cast<DWORD>(IDC_FIGURE_FIRST + k), static_cast<short>(k < 5 ? 5 : 40),
                         static_cast<short>(50 + (k % 5) * 15), 35, 15, number, edge, L"", numberFont});
    }
    const std::vector<DialogItem> rest = {
        {staticClass, IDC_WINNING_LABEL, 85, 50, 180, 15, label, 0, t.configWinningLabel, labelFont},
        {editClass, IDC_WINNING_FIGURE, 85, 65, 35, 15, number, edge, L"", numberFont},
        {staticClass, IDC_COMMENT_LABEL, 85, 90, 180, 20, label, 0, t.configCommentLabel, labelFont},
        {editClass, IDC_COMMENT, 85, 110, 175, 45, comment, edge, L"", textFont},
        {staticClass, IDC_GAMES_LABEL, 5, 160, 275, 20, label, 0, t.configGamesLabel, labelFont},
        {editClass, IDC_GAMES, 5, 185, 20, 15, number, edge, L"", numberFont},
        {staticClass, IDC_CONFIG_PASSWORD_LABEL, 5, 210, 275, 15, label, 0, t.configPasswordLabel, labelFont},
        {editClass, IDC_CONFIG_PASSWORD, 5, 225, 85, 15, password, edge, L"", textFont},
        {buttonClass, IDC_CONFIG_CANCEL, 5, 255, 50, 15, button, 0, t.cancelButton, buttonFont},
        {buttonClass, IDC_CONFIG_ACCEPT, 235, 255, 50, 15, button, 0, t.acceptButton, buttonFont},
    };
    items.insert(items.end(), rest.begin(), rest.end());
    return items;
}

void showStoredConfig(HWND dialog) {
    // Every configuration that passed the checks has a password.
    if (gameConfig.password.empty()) return;
    for (int k = 0; k < prizeFigureCount; ++k) {
        setControlTextAnsi(dialog, IDC_FIGURE_FIRST + k, gameConfig.prizeFigures[k].c_str());
    }
    setControlTextAnsi(dialog, IDC_WINNING_FIGURE, gameConfig.winningFigure.c_str());
    setControlTextAnsi(dialog, IDC_COMMENT, gameConfig.surpriseComment.c_str());
    setControlTextAnsi(dialog, IDC_GAMES, gameConfig.gamesUntilTruePrize.c_str());
    setControlTextAnsi(dialog, IDC_CONFIG_PASSWORD, gameConfig.password.c_str());
}

template <std::size_t Capacity>
void copyEntry(HWND dialog, int id, FixedText<Capacity>& field) {
    field.assign(controlTextAnsi(dialog, id, Capacity).bytes);
}

// The live configuration takes the entries before they are checked, and
// keeps them even when they are refused; all but a password that cannot be
// stored (passwordToStore). Returns whether the password was taken.
bool copyEntries(HWND dialog) {
    for (int k = 0; k < prizeFigureCount; ++k) copyEntry(dialog, IDC_FIGURE_FIRST + k, gameConfig.prizeFigures[k]);
    copyEntry(dialog, IDC_WINNING_FIGURE, gameConfig.winningFigure);
    copyEntry(dialog, IDC_COMMENT, gameConfig.surpriseComment);
    copyEntry(dialog, IDC_GAMES, gameConfig.gamesUntilTruePrize);
    const std::optional<std::string> password = passwordToStore(
        gameConfig.password.str(), controlText(dialog, IDC_CONFIG_PASSWORD), PasswordText::capacity);
    if (password) gameConfig.password.assign(*password);
    return password.has_value();
}

void showMessage(const wchar_t* text) { MessageBoxW(nullptr, text, editionTexts.messageCaption, MB_OK); }

// The system's own words for an error, so that a full disk reads as a full
// disk; its number where the system has no words for it.
std::wstring systemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length ? std::wstring(text, length) : L"Error " + std::to_wstring(error);
    LocalFree(text);
    words.erase(words.find_last_not_of(L" \r\n.") + 1);
    return words + L".";
}

void onAccept(HWND dialog) {
    if (!copyEntries(dialog) || !entriesPass(gameConfig)) {
        showMessage(editionTexts.validationMessage);
        return;
    }
    // A set-up that did not reach the disk must not look stored.
    const DWORD error = replaceConfigFile();
    if (error != ERROR_SUCCESS) {
        showMessage((std::wstring(editionTexts.saveFailedMessage) + L"\r\n" + systemErrorText(error)).c_str());
        return;
    }
    EndDialog(dialog, setupStored);
}

void onCommand(HWND dialog, WORD id, WORD code) {
    if (!isButtonCommand(code)) return;
    if (id == IDC_CONFIG_CANCEL) EndDialog(dialog, nothingStored);
    if (id == IDC_CONFIG_ACCEPT) onAccept(dialog);
}

}  // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: showStoredConfig(dialog); break;
    case WM_COMMAND: onCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    }
    return setupDialogDefaults(dialog, message, wParam, lParam);
}

bool showConfigDialog(HWND owner) {
    SetupDialog setup = {
        {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_3DLOOK, 52, 114, 293, 281, editionTexts.configTitle},
        configItems(),
        {{L"Consolas", 9, FW_BOLD}, {dialogFace, 12, FW_BOLD}, {L"Consolas", 12, FW_NORMAL}, {dialogFace, 10, FW_BOLD}},
    };
    return showSetupDialog(setup, owner, configDialogProc) == setupStored;
}
