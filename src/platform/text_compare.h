#pragma once

#include <string_view>

namespace velmora {

// Equal when the texts differ at most in the letter case of ASCII letters,
// the only letters of the settings file's keys and colour names.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace velmora
