#pragma once

#include <string>

#include "platform/com/types.h"
#include "platform/errors.h"

namespace velmora::com {

// The system's text for a result code, as Windows words it ("Class not
// registered"); "OLE error 80040200" for a code it does not know.
VELMORA_COM_API std::string ResultCodeMessage(HRESULT code);

}  // namespace velmora::com

namespace velmora {

// A COM call that returned a failure code. The add-in reports the code itself
// back to the host.
class ComError : public Exception {
 public:
  explicit ComError(com::HRESULT code) : ComError(code, com::ResultCodeMessage(code)) {}
  ComError(com::HRESULT code, const std::string& message) : Exception(message), code_(code) {}

  com::HRESULT Code() const { return code_; }

 private:
  com::HRESULT code_;
};

// Turns a failure code into a ComError; success codes pass.
inline void ThrowIfFailed(com::HRESULT code) {
  if (com::FAILED(code)) throw ComError(code);
}

}  // namespace velmora
