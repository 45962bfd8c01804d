#pragma once

#include <string>

namespace velmora::cli {

// Appends the number with the given decimals ("%.*f"), in the C locale's form
// whatever the program's locale says, as std::to_chars writes it.
void AppendFixed(std::string& out, double value, int decimals);

}  // namespace velmora::cli
