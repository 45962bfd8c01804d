#pragma once

#include <cstdint>

namespace velmora {

// A colour as the settings store it: 0x00BBGGRR for a plain colour (red in the
// lowest byte); the high byte 0xFF marks a system colour whose index is in the
// lowest byte, and clNone/clDefault have high bytes of their own.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor kSystemColorFlag = 0xFF000000;

}  // namespace velmora
