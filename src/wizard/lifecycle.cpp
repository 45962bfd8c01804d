#include "wizard/lifecycle.h"

#include <utility>

#include "wizard/settings_file.h"

namespace velmora {
namespace {

void OpenDatabaseSession(TdlgMTBWizard& wizard) {
  if (wizard.Database) wizard.Database->OpenDatabaseSession();
}

void CloseDatabaseSession(TdlgMTBWizard& wizard) {
  if (wizard.Database) wizard.Database->CloseDatabaseSession();
}

void LoadSelectionLists(TdlgMTBWizard& wizard) {
  if (!wizard.Database) return;
  wizard.LoadTaxonGroups();
  wizard.LoadSurveys();
  wizard.TickStoredSelections();
}

void StartUp(TdlgMTBWizard& wizard) {
  TdlgMTBWizard::MakeRadioButtonsMultiline(wizard.rgGridSystem);
  wizard.ReadSettings();
  OpenDatabaseSession(wizard);
  wizard.Map = MapState{};
  wizard.MarginLeft = 0;
  wizard.MarginTop = 0;
  wizard.pcWizard.SetActivePageIndex(0);
  LoadSelectionLists(wizard);
  wizard.BuildCellList();
  wizard.ApplyGridSystem();
  wizard.LoadBackgroundImage();
  wizard.DrawGrid();
}

}  // namespace

std::unique_ptr<TdlgMTBWizard> CreateWizard(std::unique_ptr<DatabaseConnector> database) {
  auto wizard = std::make_unique<TdlgMTBWizard>();
  wizard->Database = std::move(database);
  try {
    StartUp(*wizard);
  } catch (const UnreadableSettingsFile&) {
    // Nothing came from the file, so a rewrite would put the design-time
    // values in place of settings that may well be good: it stays as it is.
    CloseDatabaseSession(*wizard);
    throw;
  } catch (...) {
    CloseDatabaseSession(*wizard);
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
  CloseDatabaseSession(*destroyedOnReturn);
  destroyedOnReturn->WriteSettings();
}

}  // namespace velmora
