// Spanish edition (quimba).
#include "strings.h"

const EditionTexts editionTexts = {
    L"Quimba Familiar",
    L"Operaciones",
    L"Jugar",
    L"Configurar",
    L"Fotocopia",
    L"Salir",

    L"miconfig.log",
    L"MiCopia.bmp",
    L" \u20AC",

    L"Programador",
    L"Grabado a bitmap ...",
    L"Rellena los datos importantes !!!\r\nGracias !!",
    L"No se ha podido guardar la configuraci\u00F3n.",

    L"Contrase\u00F1a",
    L"Contrase\u00F1a (max. 12 caracteres) :",
    L"Aceptar",

    L"Configuraci\u00F3n",
    L"En esta pagina configuraremos nuestro quimba ...",
    L"Introduzca 10 cifras de dinero con un valor cada una de ellas de max 9999 y min 1 . "
    L"No repita las cifras ...",
    L"Escribe aqu\u00ED la cifra ganadora ....",
    L"Escribe aqu\u00ED comentario sorpresa para la persona (no es obligatorio) ...",
    L"Indica n\u00BA de partidas hasta llegar al premio verdadero (max. 10) ...",
    L"Contrase\u00F1a (max. 12 caracteres) :",
    L"Cancelar",
};
