#pragma once

#include <string>

#include "count/count_result.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// What one count run counts: the grid type chosen for the map (none: no grid
// reference of the samples is taken over) and the taxon groups and surveys,
// each as CheckedKeyList gives them at the moment of the run. The dialog counts
// taxa without year limits; the command line may also limit the years, count
// records and show them in the cells.
struct CountRunInputs {
  const GridTypeInfo* gridType = nullptr;
  std::string taxonGroupKeys{};
  std::string surveyKeys{};
  YearRange years{};
  CountMeasure measure = CountMeasure::Taxa;
  // Also count the records of each cell (always done when they are the measure).
  bool countRecords = false;
};

// The database work of "Datenbank auszählen": gives the session's samples the
// cells of the map (AssignSampleCells), then writes the measure of every
// counted cell into its Count in map.Grids (CountTaxaPerCell), with the status
// texts and the bar of both on `progress`. The map is both what is counted
// over and where the counts go. Returns the figures of the counted cells.
// Errors of the database or the conversion pass out unchanged; counts already
// written stay. A year outside kFirstYear to kLastYear is refused before any
// work. The conversion's first use loads the geodetic library, with the
// fallbacks when it cannot (LoadGeodeticLibrary); a caller that must not run
// without it calls RequireGeodeticLibrary first.
CountResult CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                          ProgressSink& progress);

}  // namespace velmora
