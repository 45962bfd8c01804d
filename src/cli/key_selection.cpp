#include "cli/key_selection.h"

#include <algorithm>
#include <string_view>

#include "count/selection_lists.h"

namespace velmora::cli {
namespace {

// "all", or the keys of a comma-separated list in their order.
std::optional<std::vector<std::string>> ParseKeys(std::string_view option,
                                                  const std::string& text) {
  if (text == "all") return std::nullopt;
  std::vector<std::string> keys;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    keys.push_back(text.substr(start, comma - start));
    if (keys.back().empty()) {
      throw UsageError("option " + std::string(option) + " has an empty key in '" + text +
                       "' (use all or KEY,KEY...)");
    }
    start = comma + 1;
  }
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
    for (const std::string& key : unknown) named += (named.empty() ? "'" : ", '") + key + "'";
    throw UsageError(std::string(kind.option) + ": the database has no " + std::string(kind.what) +
                     (unknown.size() == 1 ? " key " : " keys ") + named + " (velmora-count " +
                     std::string(kind.command) + " lists its keys)");
  }
  return CheckedKeyList(items);
}

}  // namespace

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
