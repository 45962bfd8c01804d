#pragma once

#include <cstdint>
#include <string_view>

#include "count/streamed/key_index.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"

namespace velmora {

// The cells and sheets of a map, found by code as the count's statements find
// them: a sample stays when the sheet of its code is one of the map's, and
// counts in the cell whose code is its code cut to the grid type's length.
class MapCells {
 public:
  // Keeps a reference to the map, which must outlive it.
  explicit MapCells(const MapState& map);

  // The sheet of a code is the text before its first "/", or all of it.
  bool HasSheetOf(std::string_view code) const;
  // The position (CellPosition) of the cell whose code is the code cut to the
  // grid type's length; -1 for a code shorter than that or no cell's code.
  std::int32_t PositionOf(std::string_view code) const;

 private:
  const MapState& map_;
  const GridTypeInfo& type_;
  KeyIndex sheets_;
};

}  // namespace velmora
