#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace velmora::host {

// What the host is asked to do at start.
struct HostOptions {
  bool help = false;
  std::string helpText;
  // The host's database from here on, when given (--db or --connect).
  std::optional<std::string> connectionString;
  // Modules to install before the add-ins are loaded (--install-addin).
  std::vector<std::string> modules;
  // Print the installed add-ins and end, without a window (--list-addins).
  bool listAddins = false;
};

// Bad command-line arguments; the message says which.
class UsageError : public Exception {
 public:
  using Exception::Exception;
};

// Reads the arguments, the program's name first.
HostOptions ParseHostOptions(const QStringList& arguments);

}  // namespace velmora::host
