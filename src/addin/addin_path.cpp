#include "addin/addin_path.h"

#include <optional>

#include "host_interfaces/host_registry.h"
#include "platform/com/registry.h"

namespace velmora {

std::string ReadAddinPath() {
  const std::optional<std::string> path =
      com::Registry::Load(com::RegistryFilePath()).Value(kHostSettingsKey, kAddinPathValue);
  return path.value_or(std::string());
}

std::filesystem::path AddinModulePath(const std::string& addinPath) {
  if (addinPath.empty()) return {};
  return std::filesystem::path(addinPath) / kModuleFileName;
}

}  // namespace velmora
