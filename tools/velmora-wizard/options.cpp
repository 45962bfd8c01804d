#include "velmora-wizard/options.h"

#include "cli/database_argument.h"
#include "cli/option_reader.h"
#include "cli/program_help.h"

namespace velmora::cli {
namespace {

constexpr KnownOption kOptions[] = {
    {"--db"}, {"--connect"}, {"--count", false}, {"--export"}, {"--screenshot"},
};

OptionWording Wording() {
  return {.unknown = "unknown option '%s' (see velmora-wizard --help)",
          .unexpected = "unknown option '%s' (see velmora-wizard --help)",
          .needsValue = "option %s needs a value",
          .givenTwice = "option %s given twice"};
}

}  // namespace

WizardOptions ParseWizardOptions(Arguments args) {
  WizardOptions options;
  if (AsksForHelp(args)) {
    options.help = true;
    return options;
  }
  const OptionReader given(args, kOptions, Wording());
  options.count = given.Has("--count");
  options.exportFile = given.Optional("--export");
  options.screenshotFolder = given.Optional("--screenshot");
  // Without either the host's own connection string.
  if (given.Has("--db") || given.Has("--connect")) {
    options.connectionString = ReadDatabaseArgument(given).connectionString;
  }
  return options;
}

}  // namespace velmora::cli
