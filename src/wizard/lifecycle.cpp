#include "wizard/lifecycle.h"

namespace velmora {
namespace {

void StartUp(TdlgMTBWizard& wizard) {
  TdlgMTBWizard::MakeRadioButtonsMultiline(wizard.rgGridSystem);
  wizard.ReadSettings();
  wizard.Map = MapState{};
  wizard.MarginLeft = 0;
  wizard.MarginTop = 0;
  wizard.pcWizard.SetActivePageIndex(0);
  wizard.BuildCellList();
  wizard.ApplyGridSystem();
  wizard.LoadBackgroundImage();
  wizard.DrawGrid();
}

}  // namespace

std::unique_ptr<TdlgMTBWizard> CreateWizard() {
  auto wizard = std::make_unique<TdlgMTBWizard>();
  try {
    StartUp(*wizard);
  } catch (...) {
    // The start-up's own error is the one to report; a settings file that
    // cannot be written on top of it changes nothing for the user.
    try {
      wizard->WriteSettings();
    } catch (const std::exception&) {
    }
    throw;
  }
  return wizard;
}

void DestroyWizard(std::unique_ptr<TdlgMTBWizard> wizard) {
  const std::unique_ptr<TdlgMTBWizard> destroyedOnReturn = std::move(wizard);
  destroyedOnReturn->WriteSettings();
}

}  // namespace velmora
