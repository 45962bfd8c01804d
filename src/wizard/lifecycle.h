#pragma once

#include <memory>

#include "wizard/ShowImage.h"

namespace velmora {

// Builds the dialog and runs the steps of its start-up that need no database:
// the multi-line grid system captions, the map page in front, the cell list of
// the extent on the settings page and the grid types its grid system offers.
// The work buttons keep their design-time state (enabled).
std::unique_ptr<TdlgMTBWizard> CreateWizard();

}  // namespace velmora
