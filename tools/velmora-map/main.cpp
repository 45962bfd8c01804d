// velmora-map: draws the map picture of an extent from the command line.
#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/command_errors.h"
#include "cli/program_help.h"
#include "map/fonts.h"
#include "velmora-map/atlas_command.h"
#include "velmora-map/map_commands.h"
#include "velmora-map/map_from_database.h"

namespace {

constexpr std::string_view kUsage =
    "usage: velmora-map map (--db PATH | --connect TEXT) --out FILE.jpg|.png|.bmp|.pdf\n"
    "                       [--settings FILE] [--nw NW --se SE] [--system QYX|QQQ]\n"
    "                       [--type GRIDTYPE] [--groups all|KEY,...] [--surveys all|KEY,...]\n"
    "                       [--from YEAR] [--to YEAR] [--measure taxa|records] [--bmp BMP]\n"
    "                       [--font-size N] [--color C] [--cell-font-size N]\n"
    "                       [--cell-color C] [CARTOGRAPHY] [--force]\n"
    "       velmora-map draw --nw NW --se SE --bmp BMP --out PNG [--font-size N] [--color C]\n"
    "                        [--counts FILE --type GRIDTYPE [--cell-font-size N]\n"
    "                        [--cell-color C] [--measure taxa|records] [CARTOGRAPHY]]\n"
    "                        [--title TEXT] [--force]\n"
    "       velmora-map background --nw NW --se SE --out BMP [--sheet-size PIXELS] [--force]\n"
    "       velmora-map atlas (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ\n"
    "                         --type GRIDTYPE --bmp BMP --out FOLDER [--groups all|KEY,...]\n"
    "                         [--surveys all|KEY,...] [--from YEAR] [--to YEAR]\n"
    "                         [--periods Y1,Y2,...] [--min-cells N] [--richness]\n"
    "                         [--format png|jpg|pdf] [--font-size N] [--color C] [--force]\n"
    "       velmora-map --help\n";

constexpr std::string_view kDescription =
    "Draws the map of a rectangle of German map sheets (MTB/TK25) without a window.\n"
    "\n"
    "map         the wizard's main job in one command: counts the database as its\n"
    "            \"Datenbank auszählen\" does and writes the finished map, the counts\n"
    "            over the background with the sheet grid and its labels, as its\n"
    "            \"Karte exportieren\" does: a .jpg (or .jpeg) is the dialog's JPEG\n"
    "            export (quality 90, baseline), a .png or .bmp the same picture as\n"
    "            PNG or BMP.\n"
    "            It starts from the settings the wizard stores - the settings file\n"
    "            given with --settings, else the wizard's own settings.ini when there\n"
    "            is one, else the wizard's defaults - and every option given\n"
    "            overrides its value there. The options of velmora-count count\n"
    "            (--db, --connect, --groups, --surveys, --from, --to, --measure) choose\n"
    "            what is counted, those of draw how it is drawn. The status texts go\n"
    "            to standard error, with a progress bar on a terminal.\n"
    "            Beside such a picture it writes a world file (.jgw, .pgw, .bpw) and\n"
    "            FILE.aux.xml with the coordinate system, DHDN (EPSG:4314): GIS programs\n"
    "            such as QGIS and gdalinfo place the map where its sheets lie, margins\n"
    "            and legend included. A .pdf is the same map\n"
    "            on one page, its lines, fills and texts as vectors and text, the\n"
    "            background as a picture.\n"
    "draw        loads the background BMP, which shows exactly the sheets from NW to SE,\n"
    "            puts white label margins of half a sheet above and left of it, draws\n"
    "            the frame, a grey line at every sheet boundary and the sheet column\n"
    "            and row numbers, and writes the picture as PNG.\n"
    "  --font-size N    the margin labels' size in points, 1 to 1000 (default 18)\n"
    "  --color C        their colour (default clBlack)\n"
    "  --counts FILE    also writes the counts that velmora-count count printed into\n"
    "                   FILE centred into their cells; --type GRIDTYPE names the grid\n"
    "                   type they were counted for, and codes of another grid type\n"
    "                   are refused; of a --format csv file --measure picks the\n"
    "                   column (default taxa)\n"
    "  --cell-font-size N, --cell-color C   the counts' size (1 to 1000, default 10)\n"
    "                   and colour\n"
    "CARTOGRAPHY, beyond the wizard's picture (without them the map is that picture):\n"
    "  --classes N      fills each counted cell with the colour of its class, N (2 to 12)\n"
    "                   classes of as nearly equal numbers of cells as equal counts allow\n"
    "  --breaks A,B,... classes that begin at the given counts (rising whole numbers from\n"
    "                   1, at most 12): A to B-1, B to C-1, ..., the last from its break\n"
    "                   on; cells below A stay unfilled\n"
    "  --palette NAME   the class colours, light for few to dark for many: YlOrRd\n"
    "                   (default), YlGnBu (both also for colour-blind readers), Greys\n"
    "                   (for grey print) or viridis (colour-blind readers and grey print)\n"
    "  --fill-opacity P how much of the background the fills cover, 0 to 100 percent\n"
    "                   (default 65); values on dark fills are written in white\n"
    "  --values on|off|fit  on (default): the counts at the value font size; off: none;\n"
    "                   fit: at the largest size up to it at which the widest count fits\n"
    "                   its cell with a tenth of the cell free on each side, or none,\n"
    "                   said on standard error, when not even 6 points fit\n"
    "  --legend         adds a strip below the map: a key per class with its counts, the\n"
    "                   measure, grid type, extent, years, counted cells and taxa\n"
    "  --title TEXT     adds the title above the map\n"
    "background  writes a made-up landscape of the extent as a BMP to try draw with\n"
    "            (--sheet-size: pixels per sheet, 1 to 2000, default 200).\n"
    "atlas       a distribution atlas of the extent from one pass over the database: the\n"
    "            records that a count counts (with --groups, --surveys, --from, --to as\n"
    "            there), per taxon - the recommended name a count counts - and cell.\n"
    "            Into FOLDER it writes atlas.csv, one row per taxon and cell:\n"
    "            taxon_key,taxon_name,group_key,code,records,first_year,last_year\n"
    "            (records: distinct records; the years those of the records' dates,\n"
    "            empty when none is dated); maps/NAME.png (with its world file and\n"
    "            .aux.xml), one map per taxon with its cells filled by the period of\n"
    "            their latest record, a legend of the periods and a title with the\n"
    "            name, group and number of cells; thumbnails/NAME.png; and index.html,\n"
    "            a page that opens offline and lists every taxon (name, group, cells,\n"
    "            records, first and last year) with its thumbnail linking to its map,\n"
    "            sortable by column and filtered by typing a name. The maps are drawn\n"
    "            on every core, with the number done on the bar.\n"
    "  --periods Y1,... the years that begin the periods (rising, 2 to 9999, at most\n"
    "                   10; default 1950,1980,2000: bis 1949, 1950-1979, 1980-1999,\n"
    "                   ab 2000); cells whose records have no date are grey\n"
    "  --min-cells N    maps only the taxa of at least N cells (default 1); the others\n"
    "                   are listed without a map\n"
    "  --richness       also a map per taxon group of its number of taxa per cell,\n"
    "                   in five classes with a legend\n"
    "  --format F       the maps as png (default), jpg or pdf (thumbnails are PNG)\n"
    "  --font-size N, --color C   the margin labels' size and colour, as for draw;\n"
    "                   the size by default a third of the margin in points (6 to 18)\n"
    "  --force          writes into a folder that holds other files, and draws maps\n"
    "                   of more than 500 megapixels\n"
    "            FOLDER may be new, empty or an earlier atlas, whose files are\n"
    "            replaced and, where the new atlas has no such file, removed; other\n"
    "            files are left alone. Every file is written beside its place and put\n"
    "            there when complete: an interrupted atlas leaves complete files.\n"
    "\n"
    "Each command says on standard output where the picture went and its size. A\n"
    "picture of more than 500 megapixels is made only with --force. The output may\n"
    "not be one of the input files; it is written beside its place and put there\n"
    "when complete, so a failure leaves the old file as it was.\n"
    "\n"
    "The wizard's settings file is $XDG_DATA_HOME/Velmora/settings.ini, by default\n"
    "~/.local/share/Velmora/settings.ini.\n"
    "\n"
    "NW, SE    sheet numbers of the north-west and south-east corner sheets: four\n"
    "          digits (6508), or W and four digits west of sheet column 00 (W5099)\n"
    "GRIDTYPE  0 Messtischblatt, 1 Quadranten, 2 4tel-Quadranten, 3 16tel-Quadranten,\n"
    "          4 Minutenfelder (the number or the name)\n"
    "C         a colour name: clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple,\n"
    "          clTeal, clGray, clSilver, clRed, clLime, clYellow, clBlue, clFuchsia,\n"
    "          clAqua, clWhite, clMoneyGreen, clSkyBlue, clCream, clMedGray or a system\n"
    "          colour such as clBtnFace; or $00BBGGRR (blue, green, red in hexadecimal)\n"
    "\n"
    "Exit status: 0 done; 1 a failure (the database, the geodetic library, a\n"
    "background that cannot be loaded, an output that cannot be written); 2 bad\n"
    "arguments or settings.\n";

constexpr velmora::cli::Command kCommands[] = {
    {"map", velmora::cli::RunMap},
    {"draw", velmora::cli::RunDraw},
    {"background", velmora::cli::RunBackground},
    {"atlas", velmora::cli::RunAtlas},
};

constexpr velmora::cli::CommandProgram kProgram{"velmora-map", kCommands, kUsage, kDescription};

// Qt complains on standard error when the session has no runtime folder, which
// a batch job often lacks and this program never uses.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  // Before Qt starts: the help needs no display.
  if (args.empty() || velmora::cli::AsksForHelp(args)) {
    return velmora::cli::RunCommandProgram(kProgram, args);
  }
  // No window: the picture is drawn off screen, at the display's 96 pixels per inch.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Past a file-size limit a write then fails with "File too large", which is
  // reported, instead of the signal ending the program with a temporary left.
  std::signal(SIGXFSZ, SIG_IGN);
  qInstallMessageHandler(QuietMessages);
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  velmora::RegisterFonts();

  return velmora::cli::RunCommandProgram(kProgram, args);
}
