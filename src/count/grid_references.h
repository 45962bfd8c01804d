#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "grid/grid_types.h"

namespace velmora {

// The texts that are cell codes of a grid system, as patterns of literal
// characters and ranges such as [1-4], which SQL Server's LIKE and SQLite's
// GLOB read alike: a sheet number (four digits, or "W" and four digits), then,
// for every grid type the system offers below the whole sheet, "/" and as many
// digits as that grid type's codes have, each level with its own digits.
// Minute fields (QYX) thus have no two-digit codes.
std::vector<std::string> CellCodePatterns(const GridSystemInfo& system);

// Whether a spatial reference stored under the system is one of its cell codes:
// exactly what CellCodePatterns matches, so that the engine and the statements
// take over the same references.
bool IsCellCodeOf(const GridSystemInfo& system, std::string_view reference);

}  // namespace velmora
