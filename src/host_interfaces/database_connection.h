#pragma once

#include "platform/com/interfaces.h"

// The opened database connection as a COM object, standing in for ADO's
// _Connection: what the add-in hands to the host. It reports the connection
// string it was opened with and whether it is still open, and runs statements
// on the connection as the add-in's own do; once the add-in has closed its
// session the object stays valid, reports itself closed and runs nothing.

namespace velmora {

struct IDatabaseConnection;

struct IDatabaseConnectionVtbl {
  com::IDispatchVtbl dispatch;
  com::HRESULT (*ConnectionString)(IDatabaseConnection* self, com::BSTR* connectionString);
  // adStateClosed or adStateOpen.
  com::HRESULT (*State)(IDatabaseConnection* self, com::LONG* state);
  // Runs one statement that returns no rows (Execute with adExecuteNoRecords)
  // and gives the number of rows it affected. On failure the thread's error
  // info carries the database's message.
  com::HRESULT (*Execute)(IDatabaseConnection* self, com::BSTR commandText,
                          com::LONG* recordsAffected);
};

struct IDatabaseConnection {
  const IDatabaseConnectionVtbl* vtbl;
};

inline constexpr com::IID IID_IDatabaseConnection{
    0xB40DBD70, 0x0C40, 0x4D65, {0x99, 0x79, 0x93, 0x18, 0x22, 0x3A, 0xD6, 0xFE}};

// ADO's object states.
inline constexpr com::LONG adStateClosed = 0;
inline constexpr com::LONG adStateOpen = 1;

}  // namespace velmora
