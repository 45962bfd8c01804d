#include "command_line.h"

#include <charconv>
#include <filesystem>
#include <set>
#include <string>
#include <variant>

namespace velmora::demo {

const char* const kUsage =
    "usage: velmora-demo-db --out PATH [--seed N] [--samples N] [--occurrences-per-sample N]\n"
    "                       [--taxa N] [--taxon-groups N] [--surveys N] [--nw NW --se SE]\n"
    "                       [--bmp PATH] [--force]\n";

namespace {

template <typename Number>
Number ParseNumber(std::string_view option, std::string_view text, Number low, Number high) {
  Number value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    throw UsageError(std::string(option) + " takes a whole number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not '" + std::string(text) + "'");
  }
  return value;
}

Sheet ParseSheet(std::string_view option, std::string_view text) {
  if (const auto sheet = Sheet::Read(text)) return *sheet;
  throw UsageError(std::string(option) + " takes a sheet number (four digits, or W and four " +
                   "digits), not '" + std::string(text) + "'");
}

// Both names lead to one file: the picture would be written over the database.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ignored;
  return std::filesystem::equivalent(a, b, ignored) ||
         std::filesystem::absolute(a).lexically_normal() ==
             std::filesystem::absolute(b).lexically_normal();
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  std::set<std::string_view> seen;
  std::optional<Sheet> nw, se;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view option = args[i];
    if (!seen.insert(option).second) {
      throw UsageError(std::string(option) + " is given twice");
    }
    if (option == "--force") {
      line.force = true;
      continue;
    }
    if (i + 1 == args.size() || !option.starts_with("--")) {
      throw UsageError(option.starts_with("--")
                           ? std::string(option) + " needs a value"
                           : "unexpected argument '" + std::string(option) + "'");
    }
    const std::string_view value = args[++i];
    DemoOptions& o = line.options;
    if (option == "--out") {
      line.out = value;
    } else if (option == "--bmp") {
      line.bmp = value;
    } else if (option == "--seed") {
      o.seed = ParseNumber<std::uint64_t>(option, value, 0, UINT64_MAX);
    } else if (option == "--samples") {
      o.samples = ParseNumber(option, value, 0, 50'000'000);
    } else if (option == "--occurrences-per-sample") {
      o.occurrencesPerSample = ParseNumber(option, value, 0, 100);
    } else if (option == "--taxa") {
      o.taxa = ParseNumber(option, value, 1, 1'000'000);
    } else if (option == "--taxon-groups") {
      o.taxonGroups = ParseNumber(option, value, 1, 1000);
    } else if (option == "--surveys") {
      o.surveys = ParseNumber(option, value, 1, 1000);
    } else if (option == "--nw") {
      nw = ParseSheet(option, value);
    } else if (option == "--se") {
      se = ParseSheet(option, value);
    } else {
      throw UsageError("unknown option '" + std::string(option) + "'");
    }
  }
  if (line.out.empty()) throw UsageError("--out PATH is required");
  if (line.bmp && SameFile(line.out, *line.bmp)) {
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
