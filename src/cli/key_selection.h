#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/option_reader.h"
#include "platform/db/database_session.h"

namespace velmora::cli {

// The taxon groups and surveys a count takes, from --groups and --surveys:
// the keys given, in their order, or nothing for all of them ("all", the
// default).
struct KeySelection {
  std::optional<std::vector<std::string>> groups;
  std::optional<std::vector<std::string>> surveys;
};

// Reads --groups and --surveys; an empty key is a UsageError.
KeySelection ReadKeySelection(const OptionReader& given);

// The selection as the dialog's two lists would check it, each list read from
// the session with the dialog's query: the checked keys in list order, as the
// count puts them after IN. Keys the database does not have are refused with
// a UsageError naming them.
struct CheckedKeyLists {
  std::string taxonGroups;
  std::string surveys;
};
CheckedKeyLists CheckKeySelection(DatabaseSession& session, const KeySelection& selection);

}  // namespace velmora::cli
