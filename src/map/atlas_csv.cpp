#include "map/atlas_csv.h"

#include <optional>
#include <string_view>

namespace velmora {
namespace {

void AppendField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string YearText(const std::optional<int>& year) {
  return year ? std::to_string(*year) : std::string();
}

}  // namespace

std::string AtlasCsv(std::span<const AtlasTaxon> taxa, const MapState& map) {
  std::string out = "taxon_key,taxon_name,group_key,code,records,first_year,last_year\n";
  const size_t columns = static_cast<size_t>(map.CellColumns);
  for (const AtlasTaxon& taxon : taxa) {
    for (const AtlasCell& cell : taxon.cells) {
      AppendField(out, taxon.key.value_or(""));
      out += ',';
      AppendField(out, taxon.name);
      out += ',';
      AppendField(out, taxon.groupKey);
      out += ',';
      AppendField(out, map.Grids[cell.position / columns][cell.position % columns].Code);
      out += ',' + std::to_string(cell.records) + ',' + YearText(cell.firstYear) + ',' +
             YearText(cell.lastYear) + '\n';
    }
  }
  return out;
}

}  // namespace velmora
