#pragma once

#include <string>

#include "count/progress.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"

namespace velmora {

// What one count run counts: the grid type chosen for the map (none: no grid
// reference of the samples is taken over) and the taxon groups and surveys,
// each as CheckedKeyList gives them at the moment of the run.
struct CountRunInputs {
  const GridTypeInfo* gridType = nullptr;
  std::string taxonGroupKeys;
  std::string surveyKeys;
};

// The database work of "Datenbank auszählen": gives the session's samples the
// cells of the map (AssignSampleCells), then writes the number of distinct taxa
// of every counted cell into its Count in map.Grids (CountTaxaPerCell), with
// the status texts and the bar of both on `progress`. The map is both what is
// counted over and where the counts go. Errors of the database or the
// conversion pass out unchanged; counts already written stay.
void CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                   ProgressSink& progress);

}  // namespace velmora
