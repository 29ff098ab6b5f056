// The texts of the message catalogue. They are written here in UTF-8 and turned
// into code page bytes during compilation (Cp1250, Cp1252): Polish and the
// Russian-mode source in code page 1250, the other languages in code page 1252.

#include "i18n/message_table.h"

#include "i18n/code_pages.h"
#include "i18n/messages.h"

namespace upd {
namespace {

struct MessageEntry {
  int id;
  MessageRow row;
};

// The updater's own texts: the Russian mode transliterates the Polish text.
constexpr MessageRow UpdaterRow(std::string_view polish, std::string_view english, std::string_view french,
                                std::string_view german, std::string_view italian, std::string_view spanish) {
  return {polish, english, french, german, italian, spanish, polish};
}

// Each row lists Polish, English, French, German, Italian, Spanish. A straight
// apostrophe is written as such; the display maps show it as a prime.
constexpr MessageEntry kEntries[] = {
    // The installer's language caption; its Russian-mode source spells the
    // Russian word in Latin letters.
    {10, {Cp1250<u8"Język">, Cp1252<u8"Language">, Cp1252<u8"Langue">, Cp1252<u8"Sprache">,
          Cp1252<u8"Lingua">, Cp1252<u8"Idioma">, Cp1250<u8"Âzyk">}},

    // The updater's texts.
    {6, UpdaterRow(
             Cp1250<u8"Anuluj">,
             Cp1252<u8"Cancel">,
             Cp1252<u8"Annuler">,
             Cp1252<u8"Abbrechen">,
             Cp1252<u8"Annulla">,
             Cp1252<u8"Anular">)},
    {7, UpdaterRow(
             Cp1250<u8"Zakończ">,
             Cp1252<u8"Finish">,
             Cp1252<u8"Quitter">,
             Cp1252<u8"Beenden">,
             Cp1252<u8"Termina">,
             Cp1252<u8"Finalizar">)},
    {181, UpdaterRow(
             Cp1250<u8"Uwaga">,
             Cp1252<u8"Attention">,
             Cp1252<u8"Attention">,
             Cp1252<u8"Achtung">,
             Cp1252<u8"Attenzione">,
             Cp1252<u8"Atención">)},
    {182, UpdaterRow(
             Cp1250<u8"Tak">,
             Cp1252<u8"Yes">,
             Cp1252<u8"Oui">,
             Cp1252<u8"Ja">,
             Cp1252<u8"Si">,
             Cp1252<u8"Si">)},
    {183, UpdaterRow(
             Cp1250<u8"Nie">,
             Cp1252<u8"No">,
             Cp1252<u8"Non">,
             Cp1252<u8"Nein">,
             Cp1252<u8"No">,
             Cp1252<u8"No">)},
    {261, UpdaterRow(
             Cp1250<u8"%s - Uaktualnienie">,
             Cp1252<u8"%s - Update">,
             Cp1252<u8"%s - Update">,
             Cp1252<u8"Update - %s">,
             Cp1252<u8"%s – Attualizzazione">,
             Cp1252<u8"%s – Actualizado">)},
    {263, UpdaterRow(
             Cp1250<u8"Wersja %s">,
             Cp1252<u8"Version %s">,
             Cp1252<u8"Version %s">,
             Cp1252<u8"Version %s">,
             Cp1252<u8"Versione %s">,
             Cp1252<u8"Versión %s">)},
    {264, UpdaterRow(
             Cp1250<u8"Uaktualnij">,
             Cp1252<u8"Update">,
             Cp1252<u8"Actualiser">,
             Cp1252<u8"Aktualisieren">,
             Cp1252<u8"Attualizza">,
             Cp1252<u8"Actualización">)},
    {267, UpdaterRow(
             Cp1250<u8"OK\r\n">,
             Cp1252<u8"OK\r\n">,
             Cp1252<u8"OK\r\n">,
             Cp1252<u8"OK\r\n">,
             Cp1252<u8"OK\r\n">,
             Cp1252<u8"OK\r\n">)},
    {268, UpdaterRow(
             Cp1250<u8"Błąd\r\n">,
             Cp1252<u8"Error\r\n">,
             Cp1252<u8"Erreur\r\n">,
             Cp1252<u8"Fehler\r\n">,
             Cp1252<u8"Errore\r\n">,
             Cp1252<u8"Error\r\n">)},
    {269, UpdaterRow(
             Cp1250<u8"">,
             Cp1252<u8"">,
             Cp1252<u8"">,
             Cp1252<u8"">,
             Cp1252<u8"">,
             Cp1252<u8"">)},
    {271, UpdaterRow(
             Cp1250<u8"Ten program uaktualni \"%s\" do wersji %s. "
                    u8"Jeżeli Tłumacz jest uruchomiony, należy go zamknąć przed dokonaniem aktualizacji.\r\n\r\n"
                    u8"Naciśnij przycisk \"Uaktualnij\" aby kontynuować.\r\n\r\n">,
             Cp1252<u8"This program will update '%s' to version %s. "
                    u8"If Ridurizeve is running, it must be closed before updating.\r\n\r\n"
                    u8"Press \"Update\" button to continue.\r\n\r\n">,
             Cp1252<u8"Le logiciel actualisera \"%s\" à la version %s. "
                    u8"Si le logiciel est lancé, il faut le quitter avant de l'actualisation.\r\n\r\n"
                    u8"Cliquez sur le bouton \"Actualiser\" pour continuer.\r\n\r\n">,
             Cp1252<u8"Dieses Programm wird \"%s\" zur Version %s aktualisieren. "
                    u8"Wenn das Programm gestartet ist, soll man es vor der Akualisierung schliessen.\r\n\r\n"
                    u8"Um fort zu setzen, klicken Sie bitte \"Aktualisieren\".\r\n\r\n">,
             Cp1252<u8"Questo programma attualizzerà \"%s\" per la versione %s. "
                    u8"Se il programma è azionato bisogna chiuderlo prima di effettuare l'attualizzazione.\r\n\r\n"
                    u8"Premere il tasto \"Attualizza\" per continuare.\r\n\r\n">,
             Cp1252<u8"Este programa actualizará \"%s\" a la versión %s. "
                    u8"Si el Traductor se encuentra en uso, se deberá cerrar antes de que se realice la actualización. "
                    u8"Presione el botón \"Update\" para continuar.">)},
    {272, UpdaterRow(
             Cp1250<u8"Aktualizacja została zakończona pomyślnie. "
                    u8"Naciśnij \"Zakończ\" aby wyjść z programu.">,
             Cp1252<u8"Update has finished successfully. "
                    u8"Press \"Finish\" to exit the program.">,
             Cp1252<u8"L'actualisation est finie. "
                    u8"Cliquez \"Finir\" pour quitter le logiciel.">,
             Cp1252<u8"Aktualisierung erfolgreich beendet. "
                    u8"Drücken Sie \"Beenden\", um das Programm zu schließen.">,
             Cp1252<u8"Attualizzazione è stata effettuata favorevolmente. "
                    u8"Premere \"Finisci\" per uscire dal programma.">,
             Cp1252<u8"La actualización ha finalizado exitosamente. "
                    u8"Presione „Finish” para salir del programa.">)},
    {273, UpdaterRow(
             Cp1250<u8"Podczas aktualizacji wystąpiły błędy. "
                    u8"Naciśnij \"Uaktualnij\" aby ponownie dokonać aktualizacji, albo \"Zakończ\" aby wyjść z programu.">,
             Cp1252<u8"Some errors occurred during update. "
                    u8"Press \"Update\" to retry, or \"Finish\" to exit.">,
             Cp1252<u8"Il y avait des erreurs pendant l'actualisation. "
                    u8"Appuyer \"Actualiser\" pour actualiser le logiciel de nouveau ou \"Finir\" pour quitter le logiciel.">,
             Cp1252<u8"Während der Aktualisierung ist ein Fehler erschienen. "
                    u8"Klicken Sie \"Aktualisieren\" um die Aktualisierung wieder auszuführen, oder \"Beenden\" um das Programm zu schließen.">,
             Cp1252<u8"Accaduti degli errori durante l'attualizzazione. "
                    u8"Premere \"Attualizza\" per far di nuovo l'attualizzazione, oppure \"Finisci\" per uscire dal programma.">,
             Cp1252<u8"Algunos errores se han producido durante la actualización. "
                    u8"Presione \"Update\" si desea reintentarlo o “Finish” si desea salir del programa.">)},
    {274, UpdaterRow(
             Cp1250<u8"Zainstalowana wersja programu nie wymaga aktualizacji.">,
             Cp1252<u8"The installed version doesn't need updating.">,
             Cp1252<u8"La version installée n'a pas besoin d'une actualisation.">,
             Cp1252<u8"Die installierte Version erfordert keine Aktualisierung.">,
             Cp1252<u8"La versione istallata del programma non richiede dell'attualizzazione.">,
             Cp1252<u8"La versión instalada no necesita actualizarse.">)},
    {276, UpdaterRow(
             Cp1250<u8"Trwa aktualizacja pliku \"%s\" ... ">,
             Cp1252<u8"File '%s' is being updated ... ">,
             Cp1252<u8"Actualisation du fichier \"%s\" ... ">,
             Cp1252<u8"Aktualisierung der Datei \"%s\" ... ">,
             Cp1252<u8"È in corso l'attualizzazione del file \"%s\"... ">,
             Cp1252<u8"El archivo \"%s\" se está actualizando... ">)},
    {277, UpdaterRow(
             Cp1250<u8"Błąd - nie znaleziono katalogu programu.">,
             Cp1252<u8"Error - program directory could not be found.">,
             Cp1252<u8"Erreur: le répertoire du logiciel n'a pas été trouvé.">,
             Cp1252<u8"Fehler - Ordner des Programms nicht gefunden.">,
             Cp1252<u8"Errore – il catalogo del programma non è stato trovato.">,
             Cp1252<u8"Error: El directorio del programa no puede ser encontrado.">)},
    {278, UpdaterRow(
             Cp1250<u8"Błąd - nie znaleziono pliku \"%s\" w katalogu programu.">,
             Cp1252<u8"Error - file '%s' could not be found in program directory.">,
             Cp1252<u8"Erreur - le fichier \"%s\" dans le répertoire du logiciel n'a pas été trouvé.">,
             Cp1252<u8"Fehler - Datei \"%s\" nicht gefunden.">,
             Cp1252<u8"Errore – il file \"%s\" nel catalogo del programma non è stato trovato.">,
             Cp1252<u8"Error: El archivo \"%s\" no se ha encontrado en el directorio del programa.">)},
    {279, UpdaterRow(
             Cp1250<u8"Błąd - nieznana wersja pliku \"%s\".">,
             Cp1252<u8"Error - unknown version of file '%s'.">,
             Cp1252<u8"Erreur: version inconnue du fichier \"%s\".">,
             Cp1252<u8"Fehler - unbekannte Version der Datei \"%s\".">,
             Cp1252<u8"Errore – la versione del file \"%s\" ignota.">,
             Cp1252<u8"Error: versión desconocida del archivo \"%s\".">)},
    {280, UpdaterRow(
             Cp1250<u8"Wystąpił błąd podczas otwierania pliku \"%s\".">,
             Cp1252<u8"An error occurred while opening file '%s'.">,
             Cp1252<u8"Erreur au cours d'ouvrir le fichier \"%s\".">,
             Cp1252<u8"Fehler beim Öffnen der Datei \"%s\".">,
             Cp1252<u8"Accaduto un'errore durante l'apertura del file \"%s\".">,
             Cp1252<u8"Se ha generado un error al abrir el archivo \"%s\".">)},
};

constexpr std::array<MessageRow, kMessageIdCount + 1> BuildTable() {
  std::array<MessageRow, kMessageIdCount + 1> table{};
  for (const MessageEntry& entry : kEntries) table[entry.id] = entry.row;
  return table;
}

}  // namespace

constinit const std::array<MessageRow, kMessageIdCount + 1> MessageTable = BuildTable();

int LanguageColumn(int language) { return language == kHungarian ? 0 : language; }

}  // namespace upd
