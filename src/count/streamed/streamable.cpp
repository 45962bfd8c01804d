#include "count/streamed/streamable.h"

#include <string>

#include "platform/text_compare.h"

namespace velmora {
namespace {

// NULLs come first in the order of the key, read from its index.
constexpr const char* kDeterminationWithoutKey =
    "SELECT (SELECT TAXON_DETERMINATION_KEY IS NULL FROM taxon_determination ORDER BY "
    "TAXON_DETERMINATION_KEY LIMIT 1)";

constexpr const char* kUniqueOccurrenceKey =
    "SELECT COUNT(*) FROM pragma_index_list('TAXON_OCCURRENCE') AS l WHERE l.\"unique\" AND NOT "
    "l.partial AND (SELECT COUNT(*) FROM pragma_index_info(l.name)) = 1 AND (SELECT name FROM "
    "pragma_index_info(l.name)) = 'TAXON_OCCURRENCE_KEY' COLLATE NOCASE";

}  // namespace

bool Streamable(DatabaseSession& session, StreamingAccess& streaming, const HostKeys& keys) {
  if (keys.numbers) return false;
  for (const HostColumn& key : kComparedKeys) {
    if (!EqualsIgnoringCase(
            streaming.ColumnCollation(std::string(key.table), std::string(key.column)), "BINARY")) {
      return false;
    }
  }
  return VariantToText(session.OpenQuery(kDeterminationWithoutKey)->FieldValue(0)) != "1" &&
         VariantToText(session.OpenQuery(kUniqueOccurrenceKey)->FieldValue(0)) != "0";
}

}  // namespace velmora
