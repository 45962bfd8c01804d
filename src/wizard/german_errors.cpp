#include "wizard/german_errors.h"

#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/errors.h"

namespace velmora {
namespace {

// The causes a file being written or replaced can meet.
constexpr std::pair<int, std::string_view> kGermanSystemErrors[] = {
    {EPERM, "Die Operation ist nicht erlaubt"},
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {EIO, "Eingabe-/Ausgabefehler"},
    {ENXIO, "Kein passendes Gerät bzw. keine passende Adresse gefunden"},
    {ENOMEM, "Nicht genügend Hauptspeicher verfügbar"},
    {EACCES, "Keine Berechtigung"},
    {EBUSY, "Das Gerät oder die Ressource ist belegt"},
    {EEXIST, "Die Datei existiert bereits"},
    {EXDEV, "Ungültiger Link über Gerätegrenzen hinweg"},
    {ENODEV, "Kein passendes Gerät gefunden"},
    {ENOTDIR, "Ist kein Verzeichnis"},
    {EISDIR, "Ist ein Verzeichnis"},
    {EINVAL, "Das Argument ist ungültig"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {EMFILE, "Zu viele offene Dateien"},
    {ETXTBSY, "Das Programm kann nicht ausgeführt oder verändert werden (busy)"},
    {EFBIG, "Die Datei ist zu groß"},
    {ENOSPC, "Auf dem Gerät ist kein Speicherplatz mehr verfügbar"},
    {EROFS, "Das Dateisystem ist nur lesbar"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang"},
    {ELOOP, "Zu viele Ebenen aus symbolischen Links"},
    {EDQUOT, "Der zugewiesene Plattenplatz (Quota) ist überschritten"},
};

}  // namespace

std::string GermanSystemErrorText(int errorNumber) {
  for (const auto& [number, text] : kGermanSystemErrors) {
    if (number == errorNumber) return std::string(text);
  }
  return "Systemfehler " + std::to_string(errorNumber) + " (" + SystemErrorText(errorNumber) + ")";
}

}  // namespace velmora
