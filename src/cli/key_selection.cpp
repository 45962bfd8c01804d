#include "cli/key_selection.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "count/selection_lists.h"

namespace velmora::cli {
namespace {

// The characters written with a backslash before them, each with the letter
// that stands for it; a comma only in a key, where it would end the key.
constexpr std::pair<char, char> kEscapes[] = {
    {'\\', '\\'}, {'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}, {',', ','}};

std::string Escape(std::string_view text, bool commas) {
  std::string escaped;
  for (const char c : text) {
    const auto escape = std::ranges::find(kEscapes, c, &std::pair<char, char>::first);
    if (escape != std::end(kEscapes) && (c != ',' || commas)) {
      escaped += '\\';
      escaped += escape->second;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// "all", or the keys of a comma-separated list in their order, each written
// as EscapeKey writes it.
std::optional<std::vector<std::string>> ParseKeys(std::string_view option,
                                                  const std::string& text) {
  if (text == "all") return std::nullopt;
  const auto refuse = [&](const std::string& fault) {
    throw UsageError("option " + std::string(option) + " has " + fault + " in '" + text +
                     "' (use all or KEY,KEY... with \\, \\\\ \\t \\n \\r for a comma, "
                     "backslash, tab, line feed or carriage return in a key)");
  };
  std::vector<std::string> keys(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',') {
      if (keys.back().empty()) refuse("an empty key");
      keys.emplace_back();
    } else if (text[i] != '\\') {
      keys.back() += text[i];
    } else if (++i == text.size()) {
      refuse("a lone backslash at its end");
    } else {
      const auto escape = std::ranges::find(kEscapes, text[i], &std::pair<char, char>::second);
      if (escape == std::end(kEscapes)) refuse("an unknown escape '\\" + text.substr(i, 1) + "'");
      keys.back() += escape->first;
    }
  }
  if (keys.back().empty()) refuse("an empty key");
  return keys;
}

struct ListKind {
  std::string_view option;
  std::string_view what;     // "taxon group"
  std::string_view command;  // the velmora-count command that lists them
  void (*load)(DatabaseSession&, const AppendSelectionItem&);
};

std::string CheckedList(DatabaseSession& session,
                        const std::optional<std::vector<std::string>>& given,
                        const ListKind& kind) {
  std::vector<CheckedKey> items;
  kind.load(session, [&](SelectionItem item) { items.push_back({std::move(item.key), !given}); });
  if (!given) return CheckedKeyList(items);
  std::vector<std::string> unknown;
  for (const std::string& key : *given) {
    const auto item = std::ranges::find(items, key, &CheckedKey::key);
    if (item != items.end()) {
      item->checked = true;
    } else if (std::ranges::find(unknown, key) == unknown.end()) {
      unknown.push_back(key);
    }
  }
  if (!unknown.empty()) {
    std::string named;
    for (const std::string& key : unknown) {
      named += (named.empty() ? "'" : ", '") + EscapeKey(key) + "'";
    }
    throw UsageError(std::string(kind.option) + ": the database has no " + std::string(kind.what) +
                     (unknown.size() == 1 ? " key " : " keys ") + named + " (velmora-count " +
                     std::string(kind.command) + " lists its keys)");
  }
  return CheckedKeyList(items);
}

}  // namespace

std::string EscapeKey(std::string_view key) { return Escape(key, true); }

std::string EscapeName(std::string_view name) { return Escape(name, false); }

KeySelection ReadKeySelection(const OptionReader& given) {
  KeySelection selection;
  if (const auto groups = given.Optional("--groups")) {
    selection.groups = ParseKeys("--groups", *groups);
  }
  if (const auto surveys = given.Optional("--surveys")) {
    selection.surveys = ParseKeys("--surveys", *surveys);
  }
  return selection;
}

CheckedKeyLists CheckKeySelection(DatabaseSession& session, const KeySelection& selection) {
  return {CheckedList(session, selection.groups,
                      {"--groups", "taxon group", "groups", LoadTaxonGroups}),
          CheckedList(session, selection.surveys, {"--surveys", "survey", "surveys", LoadSurveys})};
}

}  // namespace velmora::cli
