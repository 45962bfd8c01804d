#include "wizard/validation.h"

#include "grid/sheet.h"

namespace velmora {
namespace {

bool LiesWestOf(std::string_view southEast, std::string_view northWest) {
  return Sheet::Read(southEast)->ColumnIndex() < Sheet::Read(northWest)->ColumnIndex();
}

}  // namespace

std::optional<SettingsPageProblem> CheckSettingsPage(const SettingsPageInputs& inputs) {
  if (!inputs.gridTypeSelected) return SettingsPageProblem{"Bitte wählen Sie einen Rastertyp aus"};
  if (!IsValidSheetNumber(inputs.nwSheet)) {
    return SettingsPageProblem{
        "0 Bitte geben Sie eine gültige Nummer für das nordwestliche Messtischblatt an.", true};
  }
  if (!IsValidSheetNumber(inputs.seSheet)) {
    return SettingsPageProblem{
        "0 Bitte geben Sie eine gültige Nummer für das südöstliche Messtischblatt an.", true};
  }
  if (!IsExtentOrdered(inputs.nwSheet, inputs.seSheet)) {
    return SettingsPageProblem{
        "Die Nummer des südöstlichen Messtischblattes kann nicht kleiner sein als die des "
        "Nordwestlichen",
        true};
  }
  if (LiesWestOf(inputs.seSheet, inputs.nwSheet)) {
    return SettingsPageProblem{
        "Das südöstliche Messtischblatt darf nicht westlich des nordwestlichen liegen", true};
  }
  return std::nullopt;
}

}  // namespace velmora
