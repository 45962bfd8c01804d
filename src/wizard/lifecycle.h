#pragma once

#include <memory>

#include "wizard/ShowImage.h"

namespace velmora {

// Builds the dialog and runs the steps of its start-up that need no database:
// the multi-line grid system captions, the stored settings, the map page in
// front, the cell list of the restored extent, the grid types its grid
// system offers, and the map drawn over the stored background image. The work buttons keep their
// design-time state (enabled). When a step fails, the settings are written from the controls as
// they stand (so a faulty file is repaired for the next start) and the error is raised.
std::unique_ptr<TdlgMTBWizard> CreateWizard();

// The tear-down: writes the settings file from the controls, then destroys
// the dialog. A failure to write is raised after the dialog is gone.
void DestroyWizard(std::unique_ptr<TdlgMTBWizard> wizard);

}  // namespace velmora
