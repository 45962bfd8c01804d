#include "count/streamed/taxa_of_items.h"

#include <algorithm>
#include <tuple>

#include "count/record_rule.h"

namespace velmora {

TaxaOfItems::TaxaOfItems(StreamingAccess& streaming, std::string_view taxonGroupList) {
  std::vector<std::tuple<int, std::uint32_t, int>> rows;  // item, taxon, group
  streaming.Stream(TaxaOfGroupsSql(taxonGroupList), [&](const StreamedRow& row) {
    if (row.IsNull(0)) return;
    const std::uint32_t taxon =
        row.IsNull(1) ? kNoRecommendedTaxon : static_cast<std::uint32_t>(taxa_.Add(row.Text(1)));
    rows.emplace_back(items_.Add(row.Text(0)), taxon, groups_.Add(row.Text(2)));
  });
  // An item of two index rows has two taxa.
  std::ranges::sort(rows);
  ends_.assign(static_cast<size_t>(items_.Size()), 0);
  groupOf_.assign(static_cast<size_t>(items_.Size()), -1);
  for (const auto& [item, taxon, group] : rows) {
    taxonOf_.push_back(taxon);
    ends_[item] = static_cast<std::uint32_t>(taxonOf_.size());
    groupOf_[item] = group;
  }
}

TaxaOfItems::Item TaxaOfItems::Of(std::string_view item) const {
  const int number = items_.Find(item);
  if (number < 0) return {};
  const std::uint32_t begin = number == 0 ? 0 : ends_[number - 1];
  return {std::span(taxonOf_).subspan(begin, ends_[number] - begin), groupOf_[number]};
}

}  // namespace velmora
