#pragma once

#include <string>
#include <vector>

#include "demo/demo_random.h"

namespace velmora {
class DatabaseSession;
}

namespace velmora::demo {

struct DemoTaxon {
  int group;
  // The recommended taxon-list item first, then its synonyms.
  std::vector<std::string> listItemKeys;
};

struct DemoTaxonomy {
  std::vector<std::string> groupKeys;
  std::vector<DemoTaxon> taxa;
  std::vector<std::vector<int>> taxaOfGroup;  // indexes into taxa, common ones first
};

// Writes TAXON_GROUP, TAXON_VERSION, TAXON_LIST_ITEM and INDEX_TAXON_NAME:
// `taxa` recommended taxa spread unevenly over `groups` groups, every fourth
// with synonyms that share its recommended item.
DemoTaxonomy WriteTaxonomy(DatabaseSession& session, int groups, int taxa, DemoRandom& random);

}  // namespace velmora::demo
