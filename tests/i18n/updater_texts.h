#pragma once
// What the updater must show for each of its twenty message ids, in UTF-8 as
// it appears on screen: columns Polish, English, French, German, Italian,
// Spanish and the Russian mode (Hungarian shows the Polish text). Every
// straight apostrophe of the catalogue shows as a prime (′); the Russian mode
// spells the Polish text in Cyrillic letters, keeping "%s", and shows the
// Polish letters it has no pair for as the code page 1251 characters of their
// bytes (ł as і, ą as №, ż as ї, ś as њ, ń as с, ć as ж).

#include <array>

namespace upd::testing_texts {

struct UpdaterText {
  int id;
  std::array<const char*, 7> shown;
};

inline constexpr UpdaterText kUpdaterTexts[] = {
    {6,
     {"Anuluj",
      "Cancel",
      "Annuler",
      "Abbrechen",
      "Annulla",
      "Anular",
      "Анулуй"}},
    {7,
     {"Zakończ",
      "Finish",
      "Quitter",
      "Beenden",
      "Termina",
      "Finalizar",
      "Закосцз"}},
    {181,
     {"Uwaga",
      "Attention",
      "Attention",
      "Achtung",
      "Attenzione",
      "Atención",
      "Уwага"}},
    {182,
     {"Tak",
      "Yes",
      "Oui",
      "Ja",
      "Si",
      "Si",
      "Так"}},
    {183,
     {"Nie",
      "No",
      "Non",
      "Nein",
      "No",
      "No",
      "Ние"}},
    {261,
     {"%s - Uaktualnienie",
      "%s - Update",
      "%s - Update",
      "Update - %s",
      "%s – Attualizzazione",
      "%s – Actualizado",
      "%s - Уактуалниение"}},
    {263,
     {"Wersja %s",
      "Version %s",
      "Version %s",
      "Version %s",
      "Versione %s",
      "Versión %s",
      "Wерсйа %s"}},
    {264,
     {"Uaktualnij",
      "Update",
      "Actualiser",
      "Aktualisieren",
      "Attualizza",
      "Actualización",
      "Уактуалний"}},
    {267,
     {"OK\r\n",
      "OK\r\n",
      "OK\r\n",
      "OK\r\n",
      "OK\r\n",
      "OK\r\n",
      "ОК\r\n"}},
    {268,
     {"Błąd\r\n",
      "Error\r\n",
      "Erreur\r\n",
      "Fehler\r\n",
      "Errore\r\n",
      "Error\r\n",
      "Бі№д\r\n"}},
    {269,
     {"",
      "",
      "",
      "",
      "",
      "",
      ""}},
    {271,
     {"Ten program uaktualni \"%s\" do wersji %s. "
      "Jeżeli Tłumacz jest uruchomiony, należy go zamknąć przed dokonaniem aktualizacji.\r\n\r\n"
      "Naciśnij przycisk \"Uaktualnij\" aby kontynuować.\r\n\r\n",
      "This program will update ′%s′ to version %s. "
      "If Ridurizeve is running, it must be closed before updating.\r\n\r\n"
      "Press \"Update\" button to continue.\r\n\r\n",
      "Le logiciel actualisera \"%s\" à la version %s. "
      "Si le logiciel est lancé, il faut le quitter avant de l′actualisation.\r\n\r\n"
      "Cliquez sur le bouton \"Actualiser\" pour continuer.\r\n\r\n",
      "Dieses Programm wird \"%s\" zur Version %s aktualisieren. "
      "Wenn das Programm gestartet ist, soll man es vor der Akualisierung schliessen.\r\n\r\n"
      "Um fort zu setzen, klicken Sie bitte \"Aktualisieren\".\r\n\r\n",
      "Questo programma attualizzerà \"%s\" per la versione %s. "
      "Se il programma è azionato bisogna chiuderlo prima di effettuare l′attualizzazione.\r\n\r\n"
      "Premere il tasto \"Attualizza\" per continuare.\r\n\r\n",
      "Este programa actualizará \"%s\" a la versión %s. "
      "Si el Traductor se encuentra en uso, se deberá cerrar antes de que se realice la actualización. "
      "Presione el botón \"Update\" para continuar.",
      "Тен програм уактуални \"%s\" до wерсйи %s. "
      "Йеїели Тіумацз йест уруцхомионы, налеїы го замкн№ж прзед доконанием актуализацйи.\r\n\r\n"
      "Нацињний прзыциск \"Уактуалний\" абы контынуоwаж.\r\n\r\n"}},
    {272,
     {"Aktualizacja została zakończona pomyślnie. "
      "Naciśnij \"Zakończ\" aby wyjść z programu.",
      "Update has finished successfully. "
      "Press \"Finish\" to exit the program.",
      "L′actualisation est finie. "
      "Cliquez \"Finir\" pour quitter le logiciel.",
      "Aktualisierung erfolgreich beendet. "
      "Drücken Sie \"Beenden\", um das Programm zu schließen.",
      "Attualizzazione è stata effettuata favorevolmente. "
      "Premere \"Finisci\" per uscire dal programma.",
      "La actualización ha finalizado exitosamente. "
      "Presione „Finish” para salir del programa.",
      "Актуализацйа зостаіа закосцзона помыњлние. "
      "Нацињний \"Закосцз\" абы wыйњж з програму."}},
    {273,
     {"Podczas aktualizacji wystąpiły błędy. "
      "Naciśnij \"Uaktualnij\" aby ponownie dokonać aktualizacji, albo \"Zakończ\" aby wyjść z programu.",
      "Some errors occurred during update. "
      "Press \"Update\" to retry, or \"Finish\" to exit.",
      "Il y avait des erreurs pendant l′actualisation. "
      "Appuyer \"Actualiser\" pour actualiser le logiciel de nouveau ou \"Finir\" pour quitter le logiciel.",
      "Während der Aktualisierung ist ein Fehler erschienen. "
      "Klicken Sie \"Aktualisieren\" um die Aktualisierung wieder auszuführen, oder \"Beenden\" um das Programm zu schließen.",
      "Accaduti degli errori durante l′attualizzazione. "
      "Premere \"Attualizza\" per far di nuovo l′attualizzazione, oppure \"Finisci\" per uscire dal programma.",
      "Algunos errores se han producido durante la actualización. "
      "Presione \"Update\" si desea reintentarlo o “Finish” si desea salir del programa.",
      "Подцзас актуализацйи wыст№пиіы біэды. "
      "Нацињний \"Уактуалний\" абы поноwние доконаж актуализацйи, албо \"Закосцз\" абы wыйњж з програму."}},
    {274,
     {"Zainstalowana wersja programu nie wymaga aktualizacji.",
      "The installed version doesn′t need updating.",
      "La version installée n′a pas besoin d′une actualisation.",
      "Die installierte Version erfordert keine Aktualisierung.",
      "La versione istallata del programma non richiede dell′attualizzazione.",
      "La versión instalada no necesita actualizarse.",
      "Заинсталоwана wерсйа програму ние wымага актуализацйи."}},
    {276,
     {"Trwa aktualizacja pliku \"%s\" ... ",
      "File ′%s′ is being updated ... ",
      "Actualisation du fichier \"%s\" ... ",
      "Aktualisierung der Datei \"%s\" ... ",
      "È in corso l′attualizzazione del file \"%s\"... ",
      "El archivo \"%s\" se está actualizando... ",
      "Трwа актуализацйа плику \"%s\" ... "}},
    {277,
     {"Błąd - nie znaleziono katalogu programu.",
      "Error - program directory could not be found.",
      "Erreur: le répertoire du logiciel n′a pas été trouvé.",
      "Fehler - Ordner des Programms nicht gefunden.",
      "Errore – il catalogo del programma non è stato trovato.",
      "Error: El directorio del programa no puede ser encontrado.",
      "Бі№д - ние зналезионо каталогу програму."}},
    {278,
     {"Błąd - nie znaleziono pliku \"%s\" w katalogu programu.",
      "Error - file ′%s′ could not be found in program directory.",
      "Erreur - le fichier \"%s\" dans le répertoire du logiciel n′a pas été trouvé.",
      "Fehler - Datei \"%s\" nicht gefunden.",
      "Errore – il file \"%s\" nel catalogo del programma non è stato trovato.",
      "Error: El archivo \"%s\" no se ha encontrado en el directorio del programa.",
      "Бі№д - ние зналезионо плику \"%s\" w каталогу програму."}},
    {279,
     {"Błąd - nieznana wersja pliku \"%s\".",
      "Error - unknown version of file ′%s′.",
      "Erreur: version inconnue du fichier \"%s\".",
      "Fehler - unbekannte Version der Datei \"%s\".",
      "Errore – la versione del file \"%s\" ignota.",
      "Error: versión desconocida del archivo \"%s\".",
      "Бі№д - ниезнана wерсйа плику \"%s\"."}},
    {280,
     {"Wystąpił błąd podczas otwierania pliku \"%s\".",
      "An error occurred while opening file ′%s′.",
      "Erreur au cours d′ouvrir le fichier \"%s\".",
      "Fehler beim Öffnen der Datei \"%s\".",
      "Accaduto un′errore durante l′apertura del file \"%s\".",
      "Se ha generado un error al abrir el archivo \"%s\".",
      "Wыст№пиі бі№д подцзас отwиераниа плику \"%s\"."}},
};

}  // namespace upd::testing_texts
