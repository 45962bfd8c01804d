#include "platform/db/odbc_handle.h"

#include "platform/errors.h"

namespace velmora {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
  if (!SQL_SUCCEEDED(rc)) {
    handle_ = SQL_NULL_HANDLE;
    const SQLSMALLINT parentType = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
    std::string message =
        parent == SQL_NULL_HANDLE ? std::string() : OdbcDiagnostics(parentType, parent);
    throw DatabaseError(message.empty() ? "The ODBC driver manager could not allocate a handle"
                                        : message);
  }
}

OdbcHandle::~OdbcHandle() {
  if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
}

void OdbcHandle::Check(SQLRETURN rc) const {
  if (!SQL_SUCCEEDED(rc)) Fail();
}

void OdbcHandle::Fail() const {
  std::string message = OdbcDiagnostics(type_, handle_);
  throw DatabaseError(message.empty() ? "The ODBC call failed without a diagnostic record"
                                      : message);
}

std::string OdbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string messages;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6];
    SQLINTEGER nativeError = 0;
    SQLCHAR text[SQL_MAX_MESSAGE_LENGTH];
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetDiagRec(type, handle, record, state, &nativeError, text, sizeof text, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (!messages.empty()) messages += '\n';
    messages += reinterpret_cast<const char*>(text);
  }
  return messages;
}

}  // namespace velmora
