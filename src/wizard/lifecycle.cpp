#include "wizard/lifecycle.h"

namespace velmora {

std::unique_ptr<TdlgMTBWizard> CreateWizard() {
  auto wizard = std::make_unique<TdlgMTBWizard>();
  TdlgMTBWizard::MakeRadioButtonsMultiline(wizard->rgGridSystem);
  wizard->Map = MapState{};
  wizard->pcWizard.SetActivePageIndex(0);
  wizard->BuildCellList();
  wizard->ApplyGridSystem();
  return wizard;
}

}  // namespace velmora
