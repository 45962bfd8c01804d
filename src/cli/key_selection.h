#pragma once

#include <optional>
#include <string>
#include <string_view>
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

// Reads --groups and --surveys, whose keys are written as EscapeKey writes
// them; an empty key or an unknown escape is a UsageError.
KeySelection ReadKeySelection(const OptionReader& given);

// A key as velmora-count groups and surveys print it and --groups and
// --surveys take it, on one line and apart from the next key: "\\", "\t",
// "\n", "\r" and "\," for a backslash, a tab, a line feed, a carriage return
// and a comma.
std::string EscapeKey(std::string_view key);

// A name as those lines print it: escaped as a key, but with its commas as
// they are, since nothing follows the name on its line.
std::string EscapeName(std::string_view name);

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
