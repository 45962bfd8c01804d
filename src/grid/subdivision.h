#pragma once

#include <string>

namespace velmora {

// Appends value as "%.*d" does with the given minimum of digits.
void AppendZeroPadded(std::string& out, int value, int minDigits);

// Progressive quadrant digits of the cell at 0-based row rho (from the north)
// and column kappa (from the west) of a sheet divided 2^levels times in both
// directions: one digit per level, 1 = NW, 2 = NE, 3 = SW, 4 = SE, the coarsest
// first. levels 1 is the quadrant, 3 the sixteenth-quadrant.
void AppendQuadrantDigits(std::string& out, int rho, int kappa, int levels);

// Minute-field digits of the field at rho (0-5) and kappa (0-9) of the 6 x 10
// division: quadrant, row inside the quadrant (1-3), column inside it (1-5).
void AppendMinuteFieldDigits(std::string& out, int rho, int kappa);

}  // namespace velmora
