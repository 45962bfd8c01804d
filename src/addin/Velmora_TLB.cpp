#include "addin/Velmora_TLB.h"

namespace velmora {

std::string VelmoraMIProgId() {
  return std::string(kVelmoraTypeLibrary.library.name) + '.' +
         std::string(kVelmoraTypeLibrary.coclass.name);
}

std::string VelmoraMIDescription() { return std::string(kVelmoraTypeLibrary.coclass.helpString); }

std::string VersionText(TypeLibVersion version) {
  return std::to_string(version.major) + '.' + std::to_string(version.minor);
}

}  // namespace velmora
