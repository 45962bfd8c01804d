#include "platform/com/com_error.h"

#include <cstdio>

namespace velmora::com {

std::string ResultCodeMessage(HRESULT code) {
  switch (code) {
    case E_NOTIMPL:
      return "Not implemented";
    case E_NOINTERFACE:
      return "No such interface supported";
    case E_POINTER:
      return "Invalid pointer";
    case E_FAIL:
      return "Unspecified error";
    case E_UNEXPECTED:
      return "Catastrophic failure";
    case E_OUTOFMEMORY:
      return "Not enough storage is available to complete this operation";
    case E_INVALIDARG:
      return "The parameter is incorrect";
    case CLASS_E_NOAGGREGATION:
      return "Class does not support aggregation (or class object is remote)";
    case CLASS_E_CLASSNOTAVAILABLE:
      return "ClassFactory cannot supply requested class";
    case REGDB_E_READREGDB:
      return "Could not read key from registry";
    case REGDB_E_CLASSNOTREG:
      return "Class not registered";
    case CO_E_CLASSSTRING:
      return "Invalid class string";
    case CO_E_DLLNOTFOUND:
      return "DLL for class not found";
    case CO_E_ERRORINDLL:
      return "Error in the DLL";
    case CO_E_OBJNOTREG:
      return "Object is not registered";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "OLE error %08X", static_cast<unsigned>(code));
      return text;
    }
  }
}

}  // namespace velmora::com
