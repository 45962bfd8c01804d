#pragma once

#include <functional>
#include <span>
#include <string>

#include "platform/db/database_session.h"

namespace velmora {

// One row of a selection list: the name the user sees and the row's key.
struct SelectionItem {
  std::string name;
  std::string key;
};

using AppendSelectionItem = std::function<void(SelectionItem)>;

// The host's taxon groups in their sort order, and its surveys by name. Each
// item is handed over as soon as its row is read, so that a failing read keeps
// the items before it.
void LoadTaxonGroups(DatabaseSession& session, const AppendSelectionItem& append);
void LoadSurveys(DatabaseSession& session, const AppendSelectionItem& append);

// A key with the check state of its item.
struct CheckedKey {
  std::string key;
  bool checked = false;
};

// The checked keys in list order as quoted SQL texts separated by commas,
// 'K1','K2'; "'no data'", which no key equals, when nothing is checked.
std::string CheckedKeyList(std::span<const CheckedKey> items);

}  // namespace velmora
