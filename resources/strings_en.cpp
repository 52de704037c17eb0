// English edition (glimter lottery).
#include "strings.h"

namespace {

// Each text is set by name, so that no two can change places unnoticed.
constexpr EditionTexts englishTexts() {
    EditionTexts t{};
    t.mainTitle = L"Family glimter";
    t.menuOperations = L"Operations";
    t.menuPlay = L"play";
    t.menuSetup = L"Set up";
    t.menuPhotocopy = L"Fotocopy";
    t.menuExit = L"Exit";
    t.configFileName = L"myconfig.log";
    t.snapshotFileName = L"MyCopy.bmp";
    t.currencySuffix = L" $";
    t.messageCaption = L"Programmer";
    t.snapshotSaved = L"Save to bitmap ...";
    t.validationMessage = L"Fill in important information !!!\r\nThank you !!";
    t.saveFailedMessage = L"The set-up could not be saved.";
    t.passwordTitle = L"Password";
    t.passwordLabel = L"Password (max. 12 characters) :";
    t.acceptButton = L"Accept";
    t.configTitle = L"Set up";
    t.configIntro = L"On this page we will configure our glimter card ...";
    t.configFiguresLabel = L"Enter 10 money figures with a value each of max. 9999 and min. 1. Do not repeat the "
        L"figures ...";
    t.configWinningLabel = L"Type the winning money here ....";
    t.configCommentLabel = L"Type a surprise comment for the person here (not mandatory) ...";
    t.configGamesLabel = L"Indicates number of games until reaching the true prize (max. 10) ...";
    t.configPasswordLabel = L"Password (max. 12 characters) :";
    t.cancelButton = L"Cancel";
    t.cardInPlayName = L"Card, game %d of %d";
    t.cardWonName = L"Winning card";
    t.cardIdleName = L"Card not in play";
    t.starName = L"Row %d, column %d";
    t.starCovered = L"covered";
    t.winningStar = L"winning figure";
    t.uncoverAction = L"Uncover";
    return t;
}

}  // namespace

const EditionTexts editionTexts = englishTexts();
