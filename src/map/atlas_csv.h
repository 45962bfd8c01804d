#pragma once

#include <span>
#include <string>

#include "count/atlas_records.h"
#include "grid/cell_list.h"

namespace velmora {

// The data of an atlas, one row per taxon and cell after the header
// "taxon_key,taxon_name,group_key,code,records,first_year,last_year", in the
// order of the taxa and of their cells. A field that holds a comma, a quote or
// a line break is quoted, its quotes doubled (RFC 4180); lines end in a line
// feed, as the counts' CSV does. A taxon without a recommended item has an
// empty key, a cell without a dated record empty years.
std::string AtlasCsv(std::span<const AtlasTaxon> taxa, const MapState& map);

}  // namespace velmora
