#pragma once

#include <optional>
#include <string>

#include "cli/command_errors.h"

namespace velmora::cli {

inline constexpr const char* kWizardUsage =
    "usage: velmora-wizard [--db PATH | --connect TEXT] [--count] [--export FILE]\n"
    "                      [--screenshot DIR]\n"
    "       velmora-wizard --help | -h\n";

// What --help writes after the usage.
inline constexpr const char* kWizardDescription =
    "Opens the wizard dialog on the host's database: the SQLite file PATH, the connection\n"
    "string TEXT, or else the host's own (its registry value, or the demo database).\n"
    "Without --count, --export and --screenshot the dialog stays open until its window is\n"
    "closed. These run in this order, as a user would click them:\n"
    "  --count           checks every taxon group and survey (\"Alle\") and counts the\n"
    "                    database into the map (\"Datenbank auszählen\")\n"
    "  --export FILE     writes the map as JPEG to FILE (\"Karte exportieren\", with FILE\n"
    "                    as the answer to its file dialog; .jpg is added to a name\n"
    "                    that does not end in .jpg or .jpeg)\n"
    "  --screenshot DIR  writes the two pages as DIR/karte.png and DIR/einstellungen.png\n"
    "With any of these the dialog then closes by itself; a message it would show goes to\n"
    "standard error instead, and the exit status is 1.\n";

struct WizardOptions {
  bool help = false;
  // Nothing: the host's own connection string.
  std::optional<std::string> connectionString;
  bool count = false;
  std::optional<std::string> exportFile;
  std::optional<std::string> screenshotFolder;

  // A run that nobody watches: it does its work and ends without a click.
  bool Unattended() const { return count || exportFile || screenshotFolder; }
};

// Reads the options after the program name; throws UsageError.
WizardOptions ParseWizardOptions(Arguments args);

}  // namespace velmora::cli
