#include "count/selection_lists.h"

#include <memory>

#include "count/sql_text.h"

namespace velmora {
namespace {

// Columns are read by position: the key first, the name second.
void Load(DatabaseSession& session, const std::string& query, const AppendSelectionItem& append) {
  const std::unique_ptr<QueryResult> result = session.OpenQuery(query);
  while (!result->AtEnd()) {
    append({VariantToText(result->FieldValue(1)), VariantToText(result->FieldValue(0))});
    result->Next();
  }
}

// The key as the count compares it with the chosen ones. On SQLite that is
// its text, also where it is stored as a BLOB, which the SQLite ODBC driver
// would hand over as a hexadecimal literal.
std::string Key(const DatabaseSession& session, const std::string& column) {
  return session.Dialect() == SqlDialect::SQLite ? "CAST(" + column + " AS TEXT)" : column;
}

}  // namespace

void LoadTaxonGroups(DatabaseSession& session, const AppendSelectionItem& append) {
  Load(session,
       "SELECT " + Key(session, "TAXON_GROUP_KEY") +
           ", TAXON_GROUP_NAME FROM TAXON_GROUP ORDER BY SORT_ORDER",
       append);
}

void LoadSurveys(DatabaseSession& session, const AppendSelectionItem& append) {
  Load(session,
       "SELECT " + Key(session, "SURVEY_KEY") + ", ITEM_NAME FROM SURVEY ORDER BY ITEM_NAME",
       append);
}

std::string CheckedKeyList(std::span<const CheckedKey> items) {
  std::string list;
  for (const CheckedKey& item : items) {
    if (!item.checked) continue;
    if (!list.empty()) list += ',';
    list += QuoteSqlText(item.key);
  }
  return list.empty() ? "'no data'" : list;
}

}  // namespace velmora
