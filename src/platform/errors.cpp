#include "platform/errors.h"

namespace velmora {

ConvertError::ConvertError(const std::string& offendingText)
    : Exception("'" + offendingText + "' is not a valid integer value") {}

}  // namespace velmora
