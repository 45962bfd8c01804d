#pragma once

#include <string>
#include <string_view>

#include "count/year_range.h"
#include "platform/db/database_session.h"

namespace velmora {

// Which records a count counts, the same on both roads: a taxon occurrence of
// a sample that the session's sample table keeps (dated within the years, when
// there are limits) and whose survey event belongs to a chosen survey; the
// occurrence checked and neither confidential nor of zero abundance; through
// its preferred determination (each of them, should it have two), whose
// taxon-list item has a row in INDEX_TAXON_NAME and belongs, through
// TAXON_LIST_ITEM and TAXON_VERSION, to a chosen taxon group; counted under
// the recommended item of that row. The statements say it in one selection,
// the streamed road reads it a table at a time: both forms stand side by side
// in record_rule.cpp, so that the rule changes in one place, in both forms, and
// a test counts records that each miss one part of it on both roads.
//
// The taxon group and survey lists are complete SQL lists such as ('K1','K2').

// The statements' form: the selection of the qualifying records from its FROM
// on, over the session's sample table, in the dialect of the session.
std::string QualifyingRecordsSql(SqlDialect dialect, std::string_view taxonGroupList,
                                 std::string_view surveyList);

// The streamed road's form. The survey events of the chosen surveys (their keys).
std::string CountedEventsSql(std::string_view surveyList);
// The taxon-list items of the chosen groups, each with the recommended item of
// its index row (an item of two rows stands twice) and its group.
std::string TaxaOfGroupsSql(std::string_view taxonGroupList);
// The conditions, for after WHERE, on a row of taxon_occurrence and on a row of
// taxon_determination.
std::string CountedOccurrenceCondition();
std::string CountedDeterminationCondition();

// Both roads: the conditions, each after " AND ", that keep the samples dated
// within the years; nothing without limits.
std::string YearLimitsSql(const YearRange& years);

}  // namespace velmora
