#pragma once

#include <string_view>

#include "platform/db/database_session.h"

namespace velmora {

// A column of the host's tables.
struct HostColumn {
  std::string_view table;
  std::string_view column;
};

// The key columns a count compares, with one another or with the chosen keys,
// on either road; every table a count reads has one among them. The tables
// are named as the statements name them.
inline constexpr HostColumn kComparedKeys[] = {
    {"SAMPLE", "SAMPLE_KEY"},
    {"SAMPLE", "SURVEY_EVENT_KEY"},
    {"SURVEY_EVENT", "SURVEY_EVENT_KEY"},
    {"SURVEY_EVENT", "SURVEY_KEY"},
    {"taxon_occurrence", "TAXON_OCCURRENCE_KEY"},
    {"taxon_occurrence", "SAMPLE_KEY"},
    {"taxon_determination", "TAXON_DETERMINATION_KEY"},
    {"taxon_determination", "TAXON_OCCURRENCE_KEY"},
    {"taxon_determination", "TAXON_LIST_ITEM_KEY"},
    {"INDEX_TAXON_NAME", "TAXON_LIST_ITEM_KEY"},
    {"INDEX_TAXON_NAME", "RECOMMENDED_TAXON_LIST_ITEM_KEY"},
    {"TAXON_LIST_ITEM", "TAXON_LIST_ITEM_KEY"},
    {"TAXON_LIST_ITEM", "TAXON_VERSION_KEY"},
    {"TAXON_VERSION", "TAXON_VERSION_KEY"},
    {"TAXON_VERSION", "OUTPUT_GROUP_KEY"},
};

// How the host's keys are stored. The host writes them as texts, and SQL
// Server's key columns hold nothing else; an SQLite column may also hold
// numbers, which the statements compare with texts and with one another as
// numbers, or BLOBs, which SQLite finds equal to no text or number.
struct HostKeys {
  // Some compared key is stored as a number.
  bool numbers = false;
};

// Checks, before a count writes anything, that the database has every table
// of the host that a count reads (else the database's own error passes out).
// On SQLite it also refuses BLOB keys where no count could compare them as
// the texts they stand for: beside keys of another kind in one column, in only
// one of two columns that are joined, and as sample keys, which the
// statements find again by their text. A column of BLOBs joined to another of
// BLOBs counts as texts would.
HostKeys CheckHostDatabase(DatabaseSession& session);

}  // namespace velmora
