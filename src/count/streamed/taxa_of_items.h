#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "count/streamed/key_index.h"
#include "platform/db/streaming.h"

namespace velmora {

// A recommended taxon-list item that is NULL counts as one taxon of its own.
inline constexpr std::uint32_t kNoRecommendedTaxon = 0x7FFFFFFF;

// The taxa of the taxon-list items of the chosen groups: the recommended item
// of each name through INDEX_TAXON_NAME, the group through TAXON_LIST_ITEM and
// TAXON_VERSION, as the selection's joins and its group condition give them.
// Taxa and groups are numbered in the order they are first read.
class TaxaOfItems {
 public:
  // The group list is a complete SQL list such as ('K1','K2').
  TaxaOfItems(StreamingAccess& streaming, std::string_view taxonGroupList);

  // An item's taxa, and the number of its group.
  struct Item {
    std::span<const std::uint32_t> taxa;
    int group = -1;
  };
  // Nothing for an item outside the chosen groups.
  Item Of(std::string_view item) const;

  // How many taxa there are: their numbers run below it, but for
  // kNoRecommendedTaxon.
  int Count() const { return taxa_.Size(); }
  // The key of a taxon's recommended item (not of kNoRecommendedTaxon), and
  // of a group.
  std::string_view TaxonKey(std::uint32_t taxon) const {
    return taxa_.Key(static_cast<int>(taxon));
  }
  std::string_view GroupKey(int group) const { return groups_.Key(group); }

 private:
  KeyIndex items_;
  KeyIndex taxa_;
  KeyIndex groups_;
  std::vector<std::uint32_t> ends_;  // by item number, into taxonOf_
  std::vector<std::uint32_t> taxonOf_;
  std::vector<int> groupOf_;  // by item number
};

}  // namespace velmora
