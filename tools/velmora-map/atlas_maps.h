#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "cli/terminal_progress.h"
#include "count/atlas_records.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "map/atlas_map.h"
#include "map/background.h"
#include "map/map_job.h"

namespace velmora::cli {

enum class AtlasFormat { Png, Jpeg, Pdf };

// What every map of an atlas is drawn from. `base` is the map's picture with
// its grid; a PDF map is drawn over the plain `background` instead.
struct AtlasDrawing {
  const MapState& map;
  MapStyle style;
  MapPicture base;
  MapPicture background;
  AtlasFormat format = AtlasFormat::Png;
  AtlasPeriods periods;
  YearRange years;
};

// One map of an atlas and its thumbnail: a taxon's distribution, or the
// richness of a group (the number of its taxa per cell).
struct AtlasMapJob {
  std::filesystem::path map{};
  std::filesystem::path thumbnail{};
  std::string groupName{};
  const AtlasTaxon* taxon = nullptr;           // a distribution map
  std::vector<const AtlasTaxon*> groupTaxa{};  // else the group's richness
};

// Draws and writes the maps on every core, each file written beside its place
// and renamed there when complete, with the number done on the bar. The first
// failure stops the drawing and passes out; a StopOnInterrupt that was asked
// to stop stops it after the files under way.
void DrawAtlasMaps(const AtlasDrawing& drawing, std::span<const AtlasMapJob> jobs,
                   TerminalProgress& progress);

}  // namespace velmora::cli
