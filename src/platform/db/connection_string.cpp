#include "platform/db/connection_string.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_compare.h"

namespace velmora {

namespace {

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string Lower(std::string text) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// key=value pairs separated by ';', keys in lower case.
std::map<std::string, std::string> Pairs(std::string_view text) {
  std::map<std::string, std::string> pairs;
  while (!text.empty()) {
    const auto end = std::min(text.find(';'), text.size());
    const std::string_view pair = text.substr(0, end);
    const auto equals = pair.find('=');
    if (equals != std::string_view::npos) {
      pairs[Lower(Trimmed(pair.substr(0, equals)))] = Trimmed(pair.substr(equals + 1));
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return pairs;
}

// The SQLite ODBC driver's own reading of its database: the first pair whose
// key is "database" in any case, with nothing around it, and its value up to
// the next ';' as it stands.
std::optional<std::string> SqliteDriverDatabase(std::string_view text) {
  while (!text.empty()) {
    text.remove_prefix(std::min(text.find_first_not_of(';'), text.size()));
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = text.substr(0, equals);
    text.remove_prefix(equals + 1);
    const std::string_view value = text.substr(0, text.find(';'));
    if (EqualsIgnoringCase(key, "database")) {
      if (value.empty()) return std::nullopt;
      return std::string(value);
    }
    text.remove_prefix(value.size());
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SqliteDataSource(const std::string& connectionString) {
  const auto pairs = Pairs(connectionString);
  const auto provider = pairs.find("provider");
  if (provider == pairs.end() || Lower(provider->second) != "sqlite") return std::nullopt;
  const auto source = pairs.find("data source");
  if (source == pairs.end() || source->second.empty()) {
    throw DatabaseError("The connection string names no Data Source: " + connectionString);
  }
  return source->second;
}

std::optional<std::filesystem::path> DatabaseFileOf(const std::string& connectionString) {
  if (const std::optional<std::string> source = SqliteDataSource(connectionString)) return *source;
  const auto pairs = Pairs(connectionString);
  const auto driver = pairs.find("driver");
  if (driver == pairs.end() || Lower(driver->second).find("sqlite") == std::string::npos) {
    return std::nullopt;
  }
  return SqliteDriverDatabase(connectionString);
}

}  // namespace velmora
