// Spanish edition (quimba).
#include "strings.h"

namespace {

// Each text is set by name, so that no two can change places unnoticed.
constexpr EditionTexts spanishTexts() {
    EditionTexts t{};
    t.mainTitle = L"Quimba Familiar";
    t.menuOperations = L"Operaciones";
    t.menuPlay = L"Jugar";
    t.menuSetup = L"Configurar";
    t.menuPhotocopy = L"Fotocopia";
    t.menuExit = L"Salir";
    t.configFileName = L"miconfig.log";
    t.snapshotFileName = L"MiCopia.bmp";
    t.currencySuffix = L" \u20AC";
    t.messageCaption = L"Programador";
    t.snapshotSaved = L"Grabado a bitmap ...";
    t.validationMessage = L"Rellena los datos importantes !!!\r\nGracias !!";
    t.saveFailedMessage = L"No se ha podido guardar la configuraci\u00F3n.";
    t.passwordTitle = L"Contrase\u00F1a";
    t.passwordLabel = L"Contrase\u00F1a (max. 12 caracteres) :";
    t.acceptButton = L"Aceptar";
    t.configTitle = L"Configuraci\u00F3n";
    t.configIntro = L"En esta pagina configuraremos nuestro quimba ...";
    t.configFiguresLabel = L"Introduzca 10 cifras de dinero con un valor cada una de ellas de max 9999 y min 1 . "
        L"No repita las cifras ...";
    t.configWinningLabel = L"Escribe aqu\u00ED la cifra ganadora ....";
    t.configCommentLabel = L"Escribe aqu\u00ED comentario sorpresa para la persona (no es obligatorio) ...";
    t.configGamesLabel = L"Indica n\u00BA de partidas hasta llegar al premio verdadero (max. 10) ...";
    t.configPasswordLabel = L"Contrase\u00F1a (max. 12 caracteres) :";
    t.cancelButton = L"Cancelar";
    t.cardInPlayName = L"Cart\u00F3n, partida %d de %d";
    t.cardWonName = L"Cart\u00F3n ganador";
    t.cardIdleName = L"Cart\u00F3n sin jugar";
    t.starName = L"Fila %d, columna %d";
    t.starCovered = L"cubierta";
    t.winningStar = L"cifra ganadora";
    t.uncoverAction = L"Destapar";
    return t;
}

}  // namespace

const EditionTexts editionTexts = spanishTexts();
