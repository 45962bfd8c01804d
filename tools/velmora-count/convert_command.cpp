#include "velmora-count/convert_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/grid_arguments.h"
#include "cli/option_reader.h"
#include "cli/standard_output.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "grid/point_explanation.h"
#include "velmora-count/explanation_text.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kUsage =
    "convert [--system QYX|QQQ] [--frame] [LAT LON]\n"
    "       velmora-count convert --explain LAT LON";

struct ConvertOptions {
  const GridSystemInfo* system = GridSystemByCode(kMinuteFieldSystemCode);
  bool frame = false;    // the point is already in the grid frame
  bool explain = false;  // why the point lands where it does, instead of its code
  std::vector<std::string_view> point;
};

// An unknown option is followed by the command's usage. The only value an
// option takes is the grid system.
OptionWording Wording() {
  return {.unknown = "unknown option '%s'\nusage: velmora-count " + std::string(kUsage),
          .unexpected = "",
          .needsValue = "%s needs QYX or QQQ"};
}

constexpr KnownOption kOptions[] = {{"--system"}, {"--frame", false}, {"--explain", false}};

// The explanation is of a WGS84 point, in both grid systems.
void CheckExplainOptions(const OptionReader& given) {
  if (given.Has("--frame")) throw UsageError("--explain takes a WGS84 point, not --frame");
  if (given.Has("--system")) throw UsageError("--explain shows both grid systems, not --system");
  if (given.Operands().size() != 2) {
    throw UsageError("usage: velmora-count convert --explain LAT LON");
  }
}

ConvertOptions ParseOptions(Arguments args) {
  const OptionReader given(args, kOptions, Wording());
  ConvertOptions options;
  options.frame = given.Has("--frame");
  options.explain = given.Has("--explain");
  if (options.explain) CheckExplainOptions(given);
  if (const std::optional<std::string> system = given.Optional("--system")) {
    options.system = &ParseGridSystem(*system);
  }
  options.point = given.Operands();
  if (!options.point.empty() && options.point.size() != 2) {
    throw UsageError("usage: velmora-count " + std::string(kUsage));
  }
  return options;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// std::from_chars reads the C locale's numbers whatever LC_NUMERIC says, so a
// German locale cannot turn 49.43 into 49.
const char* ReadNumber(const char* begin, const char* end, double& value) {
  const auto [next, error] = std::from_chars(begin, end, value);
  return error == std::errc() ? next : nullptr;
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  if (ReadNumber(text.data(), end, value) != end) return std::nullopt;
  return value;
}

struct Pair {
  double latitude;
  double longitude;
};

// Two numbers separated by blanks, with blanks allowed around them.
std::optional<Pair> ParsePair(std::string_view line) {
  const char* p = line.data();
  const char* end = p + line.size();
  Pair pair{};
  while (p != end && IsBlank(*p)) ++p;
  p = ReadNumber(p, end, pair.latitude);
  if (!p || p == end || !IsBlank(*p)) return std::nullopt;
  while (p != end && IsBlank(*p)) ++p;
  p = ReadNumber(p, end, pair.longitude);
  if (!p) return std::nullopt;
  while (p != end && IsBlank(*p)) ++p;
  if (p != end) return std::nullopt;
  return pair;
}

std::string CellCodeOf(const ConvertOptions& options, Pair point) {
  if (!options.frame) {
    return CoordinateToCellCode(options.system->code, point.latitude, point.longitude);
  }
  return options.system->code == kMinuteFieldSystemCode
             ? MinuteFieldCellCode(point.latitude, point.longitude)
             : QuadrantCellCode(point.latitude, point.longitude);
}

double ReadNumberArgument(std::string_view text) {
  const std::optional<double> value = ParseNumber(text);
  if (!value) throw UsageError("'" + std::string(text) + "' is not a number");
  return *value;
}

void ConvertArguments(const ConvertOptions& options) {
  const Pair point{ReadNumberArgument(options.point[0]), ReadNumberArgument(options.point[1])};
  std::printf("%s\n", CellCodeOf(options, point).c_str());
}

// A point on the globe: the explanation of a longitude a turn too far would
// be of another point.
double ReadDegreesArgument(std::string_view text, std::string_view what, double limit) {
  const double value = ReadNumberArgument(text);
  if (!(std::fabs(value) <= limit)) {
    throw UsageError("'" + std::string(text) + "' is not a " + std::string(what) + " from -" +
                     std::to_string(static_cast<int>(limit)) + " to " +
                     std::to_string(static_cast<int>(limit)));
  }
  return value;
}

void ExplainArguments(const ConvertOptions& options) {
  const GeoPoint point{ReadDegreesArgument(options.point[0], "latitude", 90),
                       ReadDegreesArgument(options.point[1], "longitude", 180)};
  RequireGeodeticLibrary();
  const std::string text = ExplanationText(ExplainPoint(point));
  std::fwrite(text.data(), 1, text.size(), stdout);
}

bool IsBlankLine(std::string_view line) { return std::ranges::all_of(line, IsBlank); }

// One code per input line, an empty line for a line that is not a pair, so
// that output line n always answers input line n. Blank lines at the end are
// no input at all: editors and scripts often leave one there.
int ConvertStandardInput(const ConvertOptions& options) {
  std::ios::sync_with_stdio(false);
  constexpr size_t kFlushSize = 1 << 16;
  std::string out;
  std::string line;
  bool allRead = true;
  std::vector<std::pair<long, std::string>> blankLines;  // not yet known to be at the end
  const auto refuse = [&](long lineNumber, const std::string& text) {
    std::fprintf(stderr, "velmora-count: line %ld: '%s' is not a pair of numbers LAT LON\n",
                 lineNumber, text.c_str());
    allRead = false;
    out += '\n';
  };
  for (long lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
    if (IsBlankLine(line)) {
      blankLines.emplace_back(lineNumber, line);
      continue;
    }
    for (const auto& [number, text] : blankLines) refuse(number, text);
    blankLines.clear();
    if (const std::optional<Pair> point = ParsePair(line)) {
      out += CellCodeOf(options, *point);
      out += '\n';
    } else {
      refuse(lineNumber, line);
    }
    if (out.size() >= kFlushSize) {
      PrintOut(out);
      out.clear();
    }
  }
  PrintOut(out);
  return allRead ? 0 : 2;
}

}  // namespace

int RunConvert(Arguments args) {
  const ConvertOptions options = ParseOptions(args);
  if (options.explain) {
    ExplainArguments(options);
    return 0;
  }
  if (!options.frame) RequireGeodeticLibrary();
  if (options.point.empty()) return ConvertStandardInput(options);
  ConvertArguments(options);
  return 0;
}

}  // namespace velmora::cli
