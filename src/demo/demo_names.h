#pragma once

#include <span>
#include <string_view>

namespace velmora::demo {

struct NamedTaxon {
  std::string_view scientific;
  std::string_view german;
};

// A taxon group as German recording schemes name it, a few of its real taxa,
// and genera from which further plausible names are formed.
struct GroupNames {
  std::string_view name;
  int weight;  // share of the taxa and records
  std::span<const NamedTaxon> taxa;
  std::span<const std::string_view> genera;
};

std::span<const GroupNames> TaxonGroupNames();
// Latin epithets that combine with any genus.
std::span<const std::string_view> Epithets();
std::span<const std::string_view> SurveyNames();
std::span<const std::string_view> PlaceNames();
std::span<const std::string_view> HabitatNames();

}  // namespace velmora::demo
