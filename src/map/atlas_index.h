#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One taxon of an atlas as its index lists it.
struct AtlasIndexTaxon {
  std::string name;   // the taxon's name
  std::string group;  // its group's name
  int cells = 0;
  int records = 0;
  std::optional<int> firstYear;
  std::optional<int> lastYear;
  // The map and its thumbnail, relative to the index page ("maps/x.png",
  // "thumbnails/x.png"); empty for a taxon that got no map.
  std::string map;
  std::string thumbnail;
};

// A richness map of a group.
struct AtlasIndexRichness {
  std::string group;
  std::string map;
  std::string thumbnail;
};

struct AtlasIndexPage {
  std::string title;               // e.g. "Verbreitungsatlas MTB 6508–6711"
  std::vector<std::string> facts;  // lines below the title (grid type, periods, ...)
  std::vector<AtlasIndexTaxon> taxa;
  std::vector<AtlasIndexRichness> richness;
};

// The index page of an atlas: one HTML5 file (UTF-8) that opens offline in a browser, with
// no external scripts, styles or fonts.
std::string AtlasIndexHtml(const AtlasIndexPage& page);

}  // namespace velmora
