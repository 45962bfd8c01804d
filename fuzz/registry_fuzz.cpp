// The registry file as a user, an installer or an interrupted program may
// have left it. Whatever reads without error must be written and read back as
// the same registry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/com/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmora::com::Registry;
  Registry registry;
  try {
    registry = Registry::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const velmora::com::RegistryError&) {
    return 0;
  }
  if (Registry::Parse(registry.Format()) != registry) std::abort();
  return 0;
}
