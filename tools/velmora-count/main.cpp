// velmora-count: the grid and count engines from the command line.
#include <string_view>
#include <vector>

#include "cli/command_errors.h"
#include "velmora-count/convert_command.h"
#include "velmora-count/count_command.h"
#include "velmora-count/grid_commands.h"
#include "velmora-count/list_commands.h"

namespace {

constexpr std::string_view kUsage =
    "usage: velmora-count count (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ\n"
    "                           --type GRIDTYPE [--groups all|KEY,...] [--surveys all|KEY,...]\n"
    "                           [--from YEAR] [--to YEAR] [--measure taxa|records]\n"
    "                           [--format tsv|csv|geojson | --csv]\n"
    "       velmora-count groups (--db PATH | --connect TEXT)\n"
    "       velmora-count surveys (--db PATH | --connect TEXT)\n"
    "       velmora-count cells NW SE GRIDTYPE\n"
    "       velmora-count sheets NW SE\n"
    "       velmora-count convert [--system QYX|QQQ] [--frame] [LAT LON]\n"
    "       velmora-count convert --explain LAT LON\n"
    "       velmora-count --help\n";

constexpr std::string_view kDescription =
    "Counts a recording database on the grid of the German map sheets (MTB/TK25).\n"
    "\n"
    "count     counts the database as the wizard's \"Datenbank auszählen\" does: the\n"
    "          distinct taxa of every cell of the map from sheet NW to sheet SE, and\n"
    "          prints each cell with a count, row by row from the north.\n"
    "  --db PATH        the SQLite database file PATH\n"
    "  --connect TEXT   any connection string: Provider=SQLite;Data Source=PATH, or\n"
    "                   an ODBC connection string\n"
    "  --system QYX|QQQ the grid system: QYX minute fields, QQQ progressive quadrants\n"
    "  --type GRIDTYPE  the cells; QYX offers 0, 1 and 4, QQQ offers 0 to 3\n"
    "  --groups, --surveys  the taxon group or survey keys to count, comma-separated,\n"
    "                   each written as groups and surveys print it (default all:\n"
    "                   every one the database has); a key the database lacks is\n"
    "                   refused\n"
    "  --from YEAR, --to YEAR  only records whose date lies within these years (1 to\n"
    "                   9999, both included); records without a date are left out\n"
    "                   when a limit is given\n"
    "  --measure taxa|records  what the tsv numbers show: distinct taxa (default), or\n"
    "                   records, the distinct taxon occurrences behind them\n"
    "  --format tsv     CODE<TAB>NUMBER lines (the default)\n"
    "  --format csv     a header code,taxa,records,latitude,longitude, then one line\n"
    "                   per cell with its centre in WGS84 degrees (--csv for short)\n"
    "  --format geojson a GeoJSON FeatureCollection (RFC 7946) of the cells as WGS84\n"
    "                   polygons with the properties code, taxa and records\n"
    "          The status texts go to standard error, with a progress bar on a terminal.\n"
    "groups    prints the database's taxon groups as the wizard lists them, in their\n"
    "          sort order, one KEY<TAB>NAME line each. A backslash, tab, line feed or\n"
    "          carriage return in either is written \\\\, \\t, \\n or \\r, and a comma in\n"
    "          the key \\, - the form --groups and --surveys take.\n"
    "surveys   prints the database's surveys likewise, by name.\n"
    "cells     prints the cell codes of the map, one line per cell row, tab-separated.\n"
    "sheets    prints the map's sheets as the SQL list the count uses.\n"
    "convert   prints the cell code of a WGS84 point (LAT LON in degrees, --frame: DHDN\n"
    "          degrees of the grid's own frame) in the grid system (default QYX), an\n"
    "          empty line outside the grid. Without LAT LON it reads one \"LAT LON\" pair\n"
    "          per line from standard input and answers each line with one line.\n"
    "  --explain LAT LON  says why a WGS84 point lands in its cells, one line each:\n"
    "                   wgs84 (the point read), dhdn (after the datum shift, degrees),\n"
    "                   shift (north and east, metres and arc seconds), operation\n"
    "                   (PROJ's name of the transformation the geodetic library used:\n"
    "                   the BETA2007 grid or a fallback), cells (the codes of both\n"
    "                   grid systems, sheet to finest cell), edge (metres from the\n"
    "                   point to the nearest edge of its finest cell in each system:\n"
    "                   the QYX minute field, the QQQ 16tel-Quadrant); \"none\" where\n"
    "                   there is nothing. Metres are on the DHDN (Bessel) ellipsoid.\n"
    "\n"
    "NW, SE    sheet numbers of the north-west and south-east corner sheets: four\n"
    "          digits (6508), or W and four digits west of sheet column 00 (W5099)\n"
    "GRIDTYPE  0 Messtischblatt, 1 Quadranten, 2 4tel-Quadranten, 3 16tel-Quadranten,\n"
    "          4 Minutenfelder (the number or the name)\n"
    "\n"
    "Exit status: 0 done; 1 a failure (the database, the geodetic library, standard\n"
    "output that cannot be written); 2 bad arguments. After a failure nothing is\n"
    "printed on standard output.\n";

constexpr velmora::cli::Command kCommands[] = {
    {"cells", velmora::cli::RunCells},     {"sheets", velmora::cli::RunSheets},
    {"convert", velmora::cli::RunConvert}, {"count", velmora::cli::RunCount},
    {"groups", velmora::cli::RunGroups},   {"surveys", velmora::cli::RunSurveys},
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return velmora::cli::RunCommandProgram({"velmora-count", kCommands, kUsage, kDescription}, args);
}
