#include "platform/db/connection_string.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_compare.h"

namespace velmora {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// Moves past the next ';', or to the end.
void SkipPastSemicolon(std::string_view& text) {
  const auto semicolon = text.find(';');
  text.remove_prefix(semicolon == std::string_view::npos ? text.size() : semicolon + 1);
}

struct Pairs {
  std::map<std::string, std::string> values;  // by key in lower case; the last one counts
  bool openQuote = false;                     // a quote without its closing one, or text after that
};

// Reads the quoted value at the start of `text` and moves past it.
std::string QuotedValue(std::string_view& text, bool& open) {
  const char quote = text.front();
  std::string value;
  std::size_t at = 1;
  open = true;
  for (; at < text.size(); ++at) {
    if (text[at] != quote) {
      value += text[at];
    } else if (at + 1 < text.size() && text[at + 1] == quote) {
      value += quote;
      ++at;
    } else {
      open = false;
      ++at;
      break;
    }
  }
  text.remove_prefix(at);
  const std::string_view rest = Trimmed(text.substr(0, text.find(';')));
  if (!rest.empty()) open = true;
  SkipPastSemicolon(text);
  return value;
}

// key=value pairs separated by ';'; a part without '=' is no pair.
Pairs ReadPairs(std::string_view text) {
  Pairs pairs;
  while (!text.empty()) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals > text.find(';')) {
      SkipPastSemicolon(text);
      continue;
    }
    std::string key = Lower(Trimmed(text.substr(0, equals)));
    text.remove_prefix(equals + 1);
    text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
    std::string value;
    if (!text.empty() && IsQuote(text.front())) {
      bool open = false;
      value = QuotedValue(text, open);
      pairs.openQuote = pairs.openQuote || open;
    } else {
      value = Trimmed(text.substr(0, text.find(';')));
      SkipPastSemicolon(text);
    }
    pairs.values[std::move(key)] = std::move(value);
  }
  return pairs;
}

// The SQLite ODBC driver's own reading of its database: the first pair whose
// key is "database" in any case, with nothing around it, and its value up to
// the next ';', blanks, quotes and braces included. A key runs from the end
// of the pair before it to its '='.
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
  const Pairs pairs = ReadPairs(connectionString);
  const auto provider = pairs.values.find("provider");
  if (provider == pairs.values.end() || Lower(provider->second) != "sqlite") return std::nullopt;
  if (pairs.openQuote) {
    throw DatabaseError("The connection string leaves a quote open or has text after one: " +
                        connectionString);
  }
  const auto source = pairs.values.find("data source");
  if (source == pairs.values.end() || source->second.empty()) {
    throw DatabaseError("The connection string names no Data Source: " + connectionString);
  }
  return source->second;
}

std::string SqliteConnectionString(const std::filesystem::path& path) {
  const std::string& text = path.native();
  const bool plain = !text.empty() && Trimmed(text).size() == text.size() &&
                     text.find(';') == std::string::npos && !IsQuote(text.front());
  if (plain) return "Provider=SQLite;Data Source=" + text;
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return "Provider=SQLite;Data Source=" + quoted + '"';
}

std::optional<std::filesystem::path> DatabaseFileOf(const std::string& connectionString) {
  if (const std::optional<std::string> source = SqliteDataSource(connectionString)) return *source;
  const Pairs pairs = ReadPairs(connectionString);
  const auto driver = pairs.values.find("driver");
  if (driver == pairs.values.end() || Lower(driver->second).find("sqlite") == std::string::npos) {
    return std::nullopt;
  }
  return SqliteDriverDatabase(connectionString);
}

}  // namespace velmora
