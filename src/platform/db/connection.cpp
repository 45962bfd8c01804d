#include "platform/db/connection.h"

namespace velmora {

std::string TimedOutMessage(const std::string& providerMessage, int seconds) {
  return providerMessage + ": the command time-out of " + std::to_string(seconds) +
         " seconds expired";
}

}  // namespace velmora
