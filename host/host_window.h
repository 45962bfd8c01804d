#pragma once

#include <QMainWindow>
#include <QMenu>
#include <filesystem>
#include <string>
#include <vector>

#include "host/addins.h"

namespace velmora::host {

// The host's main window: its menus with the installed add-ins' entries under
// the menus they name, installing a module from the "Tools" menu, and the list
// of add-ins under "Help".
class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  HostWindow(std::string connectionString, std::filesystem::path addinFolder);

  // The host's menu of that caption (without regard to case or the
  // accelerator's "&"), made before "Help" when there is none.
  QMenu& Menu(const QString& caption);

  const std::vector<Addin>& Addins() const { return addins_; }

  // Asks for a module file and installs it.
  void InstallAddinFromDialog();
  // Installs a module and shows its entries; a failure shows a message.
  void Install(const std::filesystem::path& module);
  void ShowAbout();

 private:
  // Creates the add-in objects anew and puts their entries into the menus.
  void LoadAddins();
  void Execute(IHostAction* action);

  std::filesystem::path addinFolder_;
  std::vector<Addin> addins_;
  std::vector<QAction*> addinActions_;
  QMenu* help_ = nullptr;
};

// The connection string as the host shows it: the values of passwords
// replaced by "***".
std::string MaskedConnectionString(const std::string& connectionString);

}  // namespace velmora::host
