// The module's own version, in the section that FileVersionText reads. The
// four numbers come from the project's version in CMake.
#include "addin/VersionInfo.h"

namespace velmora {
namespace {

constexpr std::uint32_t kVersionMs = (VELMORA_VERSION_MAJOR << 16) | VELMORA_VERSION_MINOR;
constexpr std::uint32_t kVersionLs = (VELMORA_VERSION_PATCH << 16) | VELMORA_VERSION_TWEAK;
static_assert(VELMORA_VERSION_MAJOR <= 0xFFFF && VELMORA_VERSION_MINOR <= 0xFFFF &&
                  VELMORA_VERSION_PATCH <= 0xFFFF && VELMORA_VERSION_TWEAK <= 0xFFFF,
              "each part of a file version has 16 bits");

// The values Windows' resource compiler gives a plain release DLL: flags mask
// VS_FFI_FILEFLAGSMASK, no flags, VOS__WINDOWS32, VFT_DLL. `used` and `retain`
// keep the section though nothing refers to it.
[[gnu::used, gnu::retain, gnu::section(VELMORA_VERSION_SECTION)]] const FixedFileInfo kFileVersion{
    kFixedFileInfoSignature,
    0x00010000,
    kVersionMs,
    kVersionLs,
    kVersionMs,
    kVersionLs,
    0x3F,
    0,
    0x4,
    0x2,
    0,
    0,
    0};

}  // namespace
}  // namespace velmora
