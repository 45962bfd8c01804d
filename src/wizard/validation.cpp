#include "wizard/validation.h"

#include <variant>

#include "grid/extent.h"

namespace velmora {
namespace {

const char* MessageOf(ExtentProblem problem) {
  switch (problem) {
    case ExtentProblem::NorthWestNotASheet:
      return "0 Bitte geben Sie eine gültige Nummer für das nordwestliche Messtischblatt an.";
    case ExtentProblem::SouthEastNotASheet:
      return "0 Bitte geben Sie eine gültige Nummer für das südöstliche Messtischblatt an.";
    case ExtentProblem::SouthEastBeforeNorthWest:
      return "Die Nummer des südöstlichen Messtischblattes kann nicht kleiner sein als die des "
             "Nordwestlichen";
    case ExtentProblem::SouthEastWestOfNorthWest:
      break;
  }
  return "Das südöstliche Messtischblatt darf nicht westlich des nordwestlichen liegen";
}

}  // namespace

std::optional<SettingsPageProblem> CheckSettingsPage(const SettingsPageInputs& inputs) {
  if (!inputs.gridTypeSelected) return SettingsPageProblem{"Bitte wählen Sie einen Rastertyp aus"};
  const auto extent = CheckExtent(inputs.nwSheet, inputs.seSheet);
  if (const ExtentProblem* problem = std::get_if<ExtentProblem>(&extent)) {
    return SettingsPageProblem{MessageOf(*problem), true};
  }
  return std::nullopt;
}

}  // namespace velmora
