#pragma once

#include <string>

#include "grid/point_explanation.h"

namespace velmora::cli {

// The explanation as convert --explain prints it, one "key: value" line each:
// wgs84, dhdn, shift, operation, cells, edge; "none" where there is nothing
// to say.
std::string ExplanationText(const PointExplanation& explanation);

}  // namespace velmora::cli
