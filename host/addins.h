#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host_interfaces/host_addin.h"
#include "platform/com/com_ptr.h"
#include "platform/com/guid.h"

// The host's add-ins: installing a module, the list of installed classes kept
// in the registry under the host's key, and the add-in objects the host
// creates from it at start.

namespace velmora::host {

// The key below the host's settings key whose subkeys name the installed
// add-in classes ({clsid}, default value: the module's path).
std::string InstalledAddinsKey();

// An installed add-in as the host shows it.
struct Addin {
  com::CLSID clsid;
  std::string name;
  std::string description;
  // Why the object could not be created or asked; empty when it works.
  std::string failure;

  // The menu entry, when the object has one.
  bool hasMenuItem = false;
  std::string menuCaption;
  std::string menuHint;
  std::string menuParent;
  bool menuEnabled = false;

  com::ComPtr<IHostAction> action;
};

// Loads the module, has it register itself (DllRegisterServer) and records
// every add-in class it serves as installed; returns those classes. Raises
// an Exception that names the module and the reason when it is no add-in
// module or its registration fails. The module stays loaded.
std::vector<com::CLSID> InstallAddin(const std::filesystem::path& module);

// Creates an object of every installed add-in class and reads what the host
// shows of it; an add-in that cannot be created is listed with its failure.
std::vector<Addin> LoadInstalledAddins();

// Runs the add-in's action: nothing on success, otherwise the text to show,
// the error's description as the add-in left it.
std::optional<std::string> ExecuteAddin(IHostAction& action);

}  // namespace velmora::host
