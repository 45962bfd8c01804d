#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace velmora {

// Owns one ODBC handle (environment, connection or statement) and frees it.
class OdbcHandle {
 public:
  // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment).
  OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
  ~OdbcHandle();
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  SQLHANDLE Get() const { return handle_; }

  // Throws a DatabaseError with the handle's diagnostic records unless `rc`
  // reports success.
  void Check(SQLRETURN rc) const;
  [[noreturn]] void Fail() const;

 private:
  SQLSMALLINT type_;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// The messages of every diagnostic record of a handle, one per line.
std::string OdbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle);

}  // namespace velmora
