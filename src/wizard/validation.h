#pragma once

#include <optional>
#include <string>

#include "platform/errors.h"

namespace velmora {

// Input on the settings page that the user must correct.
class EValidation : public Exception {
 public:
  using Exception::Exception;
};

struct SettingsPageInputs {
  bool gridTypeSelected = false;
  std::string nwSheet;
  std::string seSheet;
};

// Why the settings page cannot be left, and whether the cursor belongs in the
// north-west sheet field (where every sheet number problem sends it).
struct SettingsPageProblem {
  std::string message;
  bool focusNorthWest = false;

  bool operator==(const SettingsPageProblem&) const = default;
};

// The checks in order; the first that fails gives the problem: a grid type is
// chosen, then the extent check of the two sheet numbers (CheckExtent), whose
// problems each have their message.
std::optional<SettingsPageProblem> CheckSettingsPage(const SettingsPageInputs& inputs);

}  // namespace velmora
