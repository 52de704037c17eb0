// English edition (glimter lottery).
#include "strings.h"

const EditionTexts editionTexts = {
    L"Family glimter",
    L"Operations",
    L"play",
    L"Set up",
    L"Fotocopy",
    L"Exit",

    L"myconfig.log",
    L"MyCopy.bmp",
    L" $",

    L"Programmer",
    L"Save to bitmap ...",
    L"Fill in important information !!!\r\nThank you !!",
    L"The set-up could not be saved.",

    L"Password",
    L"Password (max. 12 characters) :",
    L"Accept",

    L"Set up",
    L"On this page we will configure our glimter card ...",
    L"Enter 10 money figures with a value each of max. 9999 and min. 1. Do not repeat the "
    L"figures ...",
    L"Type the winning money here ....",
    L"Type a surprise comment for the person here (not mandatory) ...",
    L"Indicates number of games until reaching the true prize (max. 10) ...",
    L"Password (max. 12 characters) :",
    L"Cancel",
};
