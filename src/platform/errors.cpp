#include "platform/errors.h"

#include <cstring>

namespace velmora {

ConvertError::ConvertError(const std::string& offendingText)
    : Exception("'" + offendingText + "' is not a valid integer value") {}

std::string SystemErrorText(int errorNumber) {
  const char* text = strerrordesc_np(errorNumber);
  return text != nullptr ? text : "Unknown error " + std::to_string(errorNumber);
}

}  // namespace velmora
