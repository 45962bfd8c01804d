#pragma once

#include <memory>

#include "wizard/ShowImage.h"
#include "wizard/database_connector.h"

namespace velmora {

// Builds the dialog, gives it `database` and runs its start-up: the multi-line
// grid system captions, the stored settings, the database session (none
// without a connector), the map page in front, the taxon group and survey
// lists from the session (empty without one), the cell list of the restored
// extent, the grid types its grid system offers, and the map drawn over the
// stored background image. The work buttons keep their design-time state
// (enabled). When a step fails, the session is closed, the settings are
// written from the controls as they stand (so a faulty file is repaired for
// the next start) and the error is raised. A settings file that could not be
// read at all is not rewritten.
std::unique_ptr<TdlgMTBWizard> CreateWizard(std::unique_ptr<DatabaseConnector> database = nullptr);

// The tear-down: closes the database session, writes the settings file from
// the controls, then destroys the dialog with its connector. A failure to
// write is raised after the dialog is gone.
void DestroyWizard(std::unique_ptr<TdlgMTBWizard> wizard);

}  // namespace velmora
