#include "velmora-demo-db/command_line.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "cli/option_reader.h"
#include "cli/output_files.h"

namespace velmora::demo {

using cli::UsageError;

const char* const kUsage =
    "usage: velmora-demo-db --out PATH [--seed N] [--samples N] [--occurrences-per-sample N]\n"
    "                       [--taxa N] [--taxon-groups N] [--surveys N] [--nw NW --se SE]\n"
    "                       [--bmp PATH] [--force]\n"
    "       velmora-demo-db --help\n";

const char* const kDescription =
    "Writes an SQLite database with the host's tables (SAMPLE, SURVEY_EVENT, SURVEY,\n"
    "TAXON_OCCURRENCE, TAXON_DETERMINATION, INDEX_TAXON_NAME, TAXON_LIST_ITEM,\n"
    "TAXON_VERSION, TAXON_GROUP) filled with made-up but realistic records; the same\n"
    "options give the same file. A progress bar shows on a terminal.\n"
    "\n"
    "  --out PATH                  the database file to write\n"
    "  --seed N                    the seed of the made-up records (default 1)\n"
    "  --samples N                 samples, 0 to 50000000 (default 4000)\n"
    "  --occurrences-per-sample N  taxon occurrences per sample, 0 to 100 (default 5)\n"
    "  --taxa N                    taxa, 1 to 1000000 (default 400)\n"
    "  --taxon-groups N            taxon groups, 1 to 1000 (default 8)\n"
    "  --surveys N                 surveys, 1 to 1000 (default 6)\n"
    "  --nw NW --se SE             the sheets the samples lie in, from the north-west\n"
    "                              to the south-east sheet (default 6508 to 6711)\n"
    "  --bmp PATH                  also writes a background map of those sheets as a\n"
    "                              24-bit BMP (not the --out file)\n"
    "  --force                     overwrites existing files, which are kept otherwise\n"
    "\n"
    "Exit status: 0 done; 1 a failure (an existing file, a full disk); 2 bad\n"
    "arguments. Nothing is written then, and what was there stays as it was.\n";

namespace {

std::optional<Sheet> SheetOption(const cli::OptionReader& options, std::string_view name) {
  const std::optional<std::string> text = options.Optional(name);
  if (!text) return std::nullopt;
  if (const auto sheet = Sheet::Read(*text)) return *sheet;
  throw UsageError(std::string(name) + " takes a sheet number (four digits, or W and four " +
                   "digits), not '" + *text + "'");
}

constexpr cli::KnownOption kOptions[] = {
    {"--out"},
    {"--bmp"},
    {"--seed"},
    {"--samples"},
    {"--occurrences-per-sample"},
    {"--taxa"},
    {"--taxon-groups"},
    {"--surveys"},
    {"--nw"},
    {"--se"},
    {"--force", false},
};

// An option or flag given twice is refused, whatever its values.
cli::OptionWording Wording() {
  return {.unknown = "unknown option '%s'",
          .unexpected = "unexpected argument '%s'",
          .needsValue = "%s needs a value",
          .givenTwice = "%s is given twice"};
}

}  // namespace

CommandLine ParseCommandLine(cli::Arguments args) {
  const cli::OptionReader given(args, kOptions, Wording());
  CommandLine line;
  line.force = given.Has("--force");
  line.out = given.Optional("--out").value_or("");
  if (const std::optional<std::string> bmp = given.Optional("--bmp")) line.bmp = *bmp;
  DemoOptions& o = line.options;
  o.seed = given.WholeNumber<std::uint64_t>("--seed", 0, UINT64_MAX).value_or(o.seed);
  o.samples = given.WholeNumber("--samples", 0, 50'000'000).value_or(o.samples);
  o.occurrencesPerSample =
      given.WholeNumber("--occurrences-per-sample", 0, 100).value_or(o.occurrencesPerSample);
  o.taxa = given.WholeNumber("--taxa", 1, 1'000'000).value_or(o.taxa);
  o.taxonGroups = given.WholeNumber("--taxon-groups", 1, 1000).value_or(o.taxonGroups);
  o.surveys = given.WholeNumber("--surveys", 1, 1000).value_or(o.surveys);
  const std::optional<Sheet> nw = SheetOption(given, "--nw");
  const std::optional<Sheet> se = SheetOption(given, "--se");
  if (line.out.empty()) throw UsageError("--out PATH is required");
  if (line.bmp && cli::NameTheSameFile(line.out, *line.bmp)) {
    throw UsageError("--out and --bmp name the same file '" + line.bmp->string() + "'");
  }
  if (nw.has_value() != se.has_value()) throw UsageError("--nw and --se go together");
  if (nw) {
    // Before it, or west of it in a later row: north or west either way.
    const auto extent = CheckExtent(*nw, *se);
    if (!std::holds_alternative<Extent>(extent)) {
      throw UsageError("the south-east sheet " + se->Number() +
                       " lies north or west of the north-west sheet " + nw->Number());
    }
    line.options.extent = std::get<Extent>(extent);
  }
  return line;
}

}  // namespace velmora::demo
