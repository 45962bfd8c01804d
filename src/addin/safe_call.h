#pragma once

#include <exception>
#include <functional>

#include "platform/com/guid.h"

namespace velmora {

// Runs an operation of the add-in object and returns its result code. Nothing
// it raises crosses into the host: an error becomes a failure code (a COM
// error's own code, any other E_UNEXPECTED) and the thread's error info, with
// the error's text as the description and the class's ProgID as the source,
// for the host to show. A silent abort reports "Operation aborted".
com::HRESULT SafeCall(com::REFIID iid, const std::function<com::HRESULT()>& operation) noexcept;

}  // namespace velmora
