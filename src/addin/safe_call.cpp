#include "addin/safe_call.h"

#include <new>
#include <string>

#include "addin/Velmora_TLB.h"
#include "platform/com/com_error.h"
#include "platform/com/error_info.h"

namespace velmora {
namespace {

com::HRESULT Failure(com::REFIID iid, com::HRESULT code, const char* description) noexcept {
  try {
    com::SetErrorDescription(iid, VelmoraMIProgId(), description);
  } catch (...) {
    // Without memory for the error info the code alone must tell.
  }
  return code;
}

}  // namespace

com::HRESULT SafeCall(com::REFIID iid, const std::function<com::HRESULT()>& operation) noexcept {
  try {
    return operation();
  } catch (const ComError& error) {
    return Failure(iid, error.Code(), error.what());
  } catch (const std::bad_alloc&) {
    return Failure(iid, com::E_UNEXPECTED, "Out of memory");
  } catch (const std::exception& error) {
    // A silent abort's text is "Operation aborted".
    return Failure(iid, com::E_UNEXPECTED, error.what());
  } catch (...) {
    return Failure(iid, com::E_UNEXPECTED, "Unknown error");
  }
}

}  // namespace velmora
