#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/interfaces.h"

// Per-thread error info: an operation that fails leaves a description of the
// error for its caller, who takes it (and so clears it) after the call.

namespace velmora::com {

extern "C" {
// Makes `info` the calling thread's error info (null clears it). `reserved` must be 0.
VELMORA_COM_API HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands the thread's error info to the caller and clears it; S_FALSE and null
// when there is none.
VELMORA_COM_API HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);
}

// A new error info object; the caller holds its one reference.
VELMORA_COM_API IErrorInfo* CreateErrorInfo(REFGUID iid, std::string_view source,
                                            std::string_view description);

// Sets the thread's error info for a failure of an operation of interface `iid`.
VELMORA_COM_API void SetErrorDescription(REFGUID iid, std::string_view source,
                                         std::string_view description);

struct ErrorDescription {
  GUID iid;
  std::string source;
  std::string description;
};

// Takes the thread's error info, if any.
VELMORA_COM_API std::optional<ErrorDescription> TakeErrorDescription();

}  // namespace velmora::com
