#pragma once

#include "platform/com/interfaces.h"

// The host's automation interface IRecorder2000, as the host declares it:
// derived from IDispatch, with 24 operations of its own. The program calls two
// of them, the 20th (table position 26) and the 21st (position 27); the others
// are the host's business and keep only their places in the table.

namespace velmora {

struct IDatabaseConnection;
struct IRecorder2000;

using HostOperation = com::HRESULT (*)(IRecorder2000* self);

struct IRecorder2000Vtbl {
  com::IDispatchVtbl dispatch;
  HostOperation operations1To19[19];
  // The connection string of the host's database, in the form an ADO
  // connection accepts. The caller frees the text.
  com::HRESULT (*ConnectionString)(IRecorder2000* self, com::BSTR* connectionString);
  // Hands the host the connection the add-in opened; the host keeps a reference.
  com::HRESULT (*AssignConnection)(IRecorder2000* self, IDatabaseConnection* connection);
  HostOperation operations22To24[3];
};

struct IRecorder2000 {
  const IRecorder2000Vtbl* vtbl;
};

inline constexpr com::IID IID_IRecorder2000{
    0x801EBEA5, 0x91CE, 0x11D3, {0xB5, 0x64, 0x00, 0x50, 0x04, 0xB0, 0xB6, 0x98}};

inline constexpr const char* kApplicationSettingsProgId = "Recorder2000.AutoApplicationSettings";

}  // namespace velmora
