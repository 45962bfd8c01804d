#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host_interfaces/database_connection.h"
#include "host_interfaces/host_registry.h"
#include "host_interfaces/recorder2000_tlb.h"
#include "platform/com/com_ptr.h"
#include "platform/com/guid.h"

// The host's settings class "Recorder2000.AutoApplicationSettings" with its
// interface IRecorder2000, as the running host offers it to the add-ins it
// loads.

namespace velmora::host {

inline constexpr com::CLSID CLSID_AutoApplicationSettings{
    0x6B6B9DAF, 0xD793, 0x45E6, {0xBF, 0xDD, 0xA7, 0xA9, 0xAF, 0x23, 0x5B, 0x45}};

// The text value of the host's settings key that names the host's database.
inline constexpr const char* kConnectionStringValue = "Connection String";

// The demo database: demo.sqlite in the velmora folder of the per-user data
// folder ($XDG_DATA_HOME, else ~/.local/share).
std::filesystem::path DemoDatabasePath();

// The host's database: the value "Connection String" of the host's settings key
// when it is set, otherwise the demo database through the embedded backend.
std::string HostConnectionString();

// Offers the settings class to this process while it lives, and enters its
// ProgID in the registry (the host's installer's part on Windows). Objects of
// the class give out `connectionString`; the connection handed back to any of
// them is kept until this goes. Throws ComError or RegistryError.
class ApplicationSettingsClass {
 public:
  explicit ApplicationSettingsClass(std::string connectionString = HostConnectionString());
  ~ApplicationSettingsClass();
  ApplicationSettingsClass(const ApplicationSettingsClass&) = delete;
  ApplicationSettingsClass& operator=(const ApplicationSettingsClass&) = delete;

  // The connection an add-in last handed over; empty before any.
  com::ComPtr<IDatabaseConnection> ReceivedConnection() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
  com::DWORD cookie_ = 0;
};

}  // namespace velmora::host
