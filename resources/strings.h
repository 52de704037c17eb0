// The texts of one edition. Each edition's table (strings_es, strings_en)
// defines editionTexts with the same names; the build links exactly one.
#pragma once

struct EditionTexts {
    const wchar_t* mainTitle;
    const wchar_t* menuOperations;
    const wchar_t* menuPlay;
    const wchar_t* menuSetup;
    const wchar_t* menuPhotocopy;
    const wchar_t* menuExit;

    const wchar_t* configFileName;
    const wchar_t* snapshotFileName;
    const wchar_t* currencySuffix;

    const wchar_t* messageCaption;
    const wchar_t* snapshotSaved;
    const wchar_t* validationMessage;
    const wchar_t* saveFailedMessage;

    const wchar_t* passwordTitle;
    const wchar_t* passwordLabel;
    const wchar_t* acceptButton;

    const wchar_t* configTitle;
    const wchar_t* configIntro;
    const wchar_t* configFiguresLabel;
    const wchar_t* configWinningLabel;
    const wchar_t* configCommentLabel;
    const wchar_t* configGamesLabel;
    const wchar_t* configPasswordLabel;
    const wchar_t* cancelButton;

    // What a screen reader reads of the card. %d stand for numbers: the game
    // and the games in the series; a star's row and column.
    const wchar_t* cardInPlayName;
    const wchar_t* cardWonName;
    const wchar_t* cardIdleName;
    const wchar_t* starName;
    const wchar_t* starCovered;
    const wchar_t* winningStar;
    const wchar_t* uncoverAction;
};

extern const EditionTexts editionTexts;
