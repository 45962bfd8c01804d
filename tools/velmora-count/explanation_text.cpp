#include "velmora-count/explanation_text.h"

#include <string_view>

#include "velmora-count/number_text.h"

namespace velmora::cli {
namespace {

// Nine decimals of a degree are a tenth of a millimetre.
void AppendPoint(std::string& out, GeoPoint point) {
  AppendFixed(out, point.latitude, 9);
  out += ' ';
  AppendFixed(out, point.longitude, 9);
}

// With its sign always, and without one for a value that rounds to zero.
void AppendSigned(std::string& out, double value, int decimals) {
  std::string number;
  AppendFixed(number, value, decimals);
  if (number.starts_with('-') && number.find_first_not_of("-0.") == std::string::npos) {
    number.erase(0, 1);
  }
  if (!number.starts_with('-')) out += '+';
  out += number;
}

// Metres to a decimetre; arc seconds to a thousandth, some 3 cm.
void AppendShift(std::string& out, std::string_view direction, double metres, double degrees) {
  out += direction;
  out += ' ';
  AppendSigned(out, metres, 1);
  out += " m (";
  AppendSigned(out, degrees * 3600, 3);
  out += "\")";
}

std::string_view SideName(CellSide side) {
  switch (side) {
    case CellSide::North:
      return "north";
    case CellSide::South:
      return "south";
    case CellSide::West:
      return "west";
    case CellSide::East:
      break;
  }
  return "east";
}

void AppendCells(std::string& out, const SystemCells& cells) {
  if (cells.codes.empty()) {
    out += "none";
    return;
  }
  for (size_t i = 0; i < cells.codes.size(); ++i) {
    if (i > 0) out += ' ';
    out += cells.codes[i];
  }
}

void AppendEdge(std::string& out, const SystemCells& cells) {
  if (!cells.edge) {
    out += "none";
    return;
  }
  AppendFixed(out, cells.edge->metres, 1);
  out += " m to the ";
  out += SideName(cells.edge->side);
  out += " edge";
}

// "QYX ...; QQQ ...", or "none" when neither system has a cell there.
void AppendPerSystem(std::string& out, const PointExplanation& explanation,
                     void (*append)(std::string&, const SystemCells&)) {
  bool any = false;
  for (const SystemCells& cells : explanation.cells) any = any || !cells.codes.empty();
  if (!any) {
    out += "none";
    return;
  }
  for (size_t i = 0; i < explanation.cells.size(); ++i) {
    if (i > 0) out += "; ";
    out += explanation.cells[i].system->code;
    out += ' ';
    append(out, explanation.cells[i]);
  }
}

}  // namespace

std::string ExplanationText(const PointExplanation& explanation) {
  std::string out = "wgs84: ";
  AppendPoint(out, explanation.wgs84);
  out += "\ndhdn: ";
  if (explanation.frame) {
    AppendPoint(out, *explanation.frame);
  } else {
    out += "none (the geodetic library cannot transform the point)";
  }
  out += "\nshift: ";
  if (const std::optional<DatumShift>& shift = explanation.shift) {
    AppendShift(out, "north", shift->ground.north, shift->latitudeDegrees);
    out += ", ";
    AppendShift(out, "east", shift->ground.east, shift->longitudeDegrees);
  } else {
    out += "none";
  }
  out += "\noperation: ";
  if (explanation.operation) {
    out += *explanation.operation;
  } else if (explanation.frame) {
    out += "unknown (the geodetic library does not describe its operations)";
  } else {
    out += "none";
  }
  out += "\ncells: ";
  AppendPerSystem(out, explanation, AppendCells);
  out += "\nedge: ";
  AppendPerSystem(out, explanation, AppendEdge);
  out += '\n';
  return out;
}

}  // namespace velmora::cli
