#include "count/host_schema.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "platform/errors.h"

namespace velmora {
namespace {

// The key columns the statements join, each pair once.
constexpr std::pair<HostColumn, HostColumn> kJoinedKeys[] = {
    {{"SURVEY_EVENT", "SURVEY_EVENT_KEY"}, {"SAMPLE", "SURVEY_EVENT_KEY"}},
    {{"taxon_occurrence", "SAMPLE_KEY"}, {"SAMPLE", "SAMPLE_KEY"}},
    {{"taxon_occurrence", "TAXON_OCCURRENCE_KEY"}, {"taxon_determination", "TAXON_OCCURRENCE_KEY"}},
    {{"INDEX_TAXON_NAME", "TAXON_LIST_ITEM_KEY"}, {"taxon_determination", "TAXON_LIST_ITEM_KEY"}},
    {{"INDEX_TAXON_NAME", "TAXON_LIST_ITEM_KEY"}, {"TAXON_LIST_ITEM", "TAXON_LIST_ITEM_KEY"}},
    {{"TAXON_VERSION", "TAXON_VERSION_KEY"}, {"TAXON_LIST_ITEM", "TAXON_VERSION_KEY"}},
};

std::string NameOf(const HostColumn& key) {
  return std::string(key.table) + "." + std::string(key.column);
}

void CheckTablesExist(DatabaseSession& session) {
  std::set<std::string_view> tables;
  for (const HostColumn& key : kComparedKeys) {
    if (tables.insert(key.table).second) {
      session.OpenQuery("SELECT COUNT(*) FROM " + std::string(key.table) + " WHERE 1 = 0");
    }
  }
}

// What a column holds, from its smallest and its largest value: numbers sort
// before texts, BLOBs after them.
struct Stored {
  std::string smallest;  // the storage class of each, "null" for no value
  std::string largest;
  bool Empty() const { return smallest == "null"; }
  bool Blobs() const { return largest == "blob"; }
  bool OnlyBlobs() const { return smallest == "blob"; }
  bool Numbers() const { return smallest == "integer" || smallest == "real"; }
};

// Both values of every column, each read from an index of the column where
// there is one.
std::vector<Stored> StoredKeys(DatabaseSession& session) {
  std::string sql;
  for (const HostColumn& key : kComparedKeys) {
    const std::string from = std::string(key.column) + ") FROM " + std::string(key.table) + ")";
    sql += sql.empty() ? "SELECT " : ", ";
    sql += "typeof((SELECT min(" + from + "), typeof((SELECT max(" + from + ")";
  }
  const auto classes = session.OpenQuery(sql);
  std::vector<Stored> stored;
  for (int i = 0; i < 2 * static_cast<int>(std::size(kComparedKeys)); i += 2) {
    stored.push_back(
        {VariantToText(classes->FieldValue(i)), VariantToText(classes->FieldValue(i + 1))});
  }
  return stored;
}

[[noreturn]] void RefuseBlobs(const HostColumn& key, const std::string& why) {
  throw DatabaseError("The column " + NameOf(key) + " holds keys stored as BLOBs " + why +
                      ": SQLite finds a BLOB equal to no text or number, so these keys cannot "
                      "be counted");
}

}  // namespace

HostKeys CheckHostDatabase(DatabaseSession& session) {
  CheckTablesExist(session);
  HostKeys keys;
  if (session.Dialect() != SqlDialect::SQLite) return keys;
  const std::vector<Stored> stored = StoredKeys(session);
  const auto of = [&](const HostColumn& column) -> const Stored& {
    const auto at = std::ranges::find_if(kComparedKeys, [&](const HostColumn& key) {
      return key.table == column.table && key.column == column.column;
    });
    return stored[at - std::begin(kComparedKeys)];
  };
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i].Blobs() && !stored[i].OnlyBlobs()) {
      RefuseBlobs(kComparedKeys[i], "beside keys of another kind");
    }
    keys.numbers = keys.numbers || stored[i].Numbers();
  }
  const HostColumn sampleKey{"SAMPLE", "SAMPLE_KEY"};
  if (of(sampleKey).Blobs()) RefuseBlobs(sampleKey, "that a sample is found again by");
  for (const auto& [first, second] : kJoinedKeys) {
    if (of(first).Blobs() != of(second).Blobs() && !of(first).Empty() && !of(second).Empty()) {
      RefuseBlobs(
          of(first).Blobs() ? first : second,
          "where " + NameOf(of(first).Blobs() ? second : first) + ", joined to it, holds none");
    }
  }
  return keys;
}

}  // namespace velmora
