#include "velmora-count/number_text.h"

#include <array>
#include <charconv>

namespace velmora::cli {

void AppendFixed(std::string& out, double value, int decimals) {
  // A double has at most 309 digits before the point; the decimals asked for
  // here are a handful.
  std::array<char, 400> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                          std::chars_format::fixed, decimals);
  out.append(text.data(), end);
}

}  // namespace velmora::cli
