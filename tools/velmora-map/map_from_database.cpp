#include "velmora-map/map_from_database.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/count_arguments.h"
#include "cli/grid_arguments.h"
#include "cli/option_reader.h"
#include "cli/output_files.h"
#include "map/background.h"
#include "map/jpeg_export.h"
#include "map/map_job.h"
#include "velmora-map/cartography_options.h"
#include "velmora-map/map_options.h"
#include "velmora-map/map_settings.h"
#include "velmora-map/picture_files.h"

namespace velmora::cli {
namespace {

constexpr KnownOption kOptions[] = {
    {"--db"},         {"--connect"},   {"--settings"},     {"--nw"},
    {"--se"},         {"--system"},    {"--type"},         {"--groups"},
    {"--surveys"},    {"--from"},      {"--to"},           {"--measure"},
    {"--bmp"},        {"--font-size"}, {"--color"},        {"--cell-font-size"},
    {"--cell-color"}, {"--out"},       {"--force", false},
};

enum class PictureFormat { Jpeg, Png, Bmp, Pdf };

PictureFormat FormatOfOutput(const std::filesystem::path& out) {
  std::string extension = out.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".jpg" || extension == ".jpeg") return PictureFormat::Jpeg;
  if (extension == ".png") return PictureFormat::Png;
  if (extension == ".bmp") return PictureFormat::Bmp;
  if (extension == ".pdf") return PictureFormat::Pdf;
  throw UsageError("--out names a .jpg, .jpeg, .png, .bmp or .pdf file, not '" + out.string() +
                   "'");
}

// What the map is drawn from: the settings, each value replaced by its option
// when that is given.
struct MapRequest {
  CountArguments count;
  MapState map;
  const GridTypeInfo* gridType = nullptr;
  MapStyle style;
  std::filesystem::path out;
  PictureFormat format = PictureFormat::Jpeg;
  bool force = false;
};

// The grid system and grid type: an option names one the system must offer;
// from the settings the dialog's start-up rule holds, which puts a grid type
// the system does not offer back to the whole sheet.
void ReadGrid(const OptionReader& given, const MapSettings& settings, const GridSystemInfo*& system,
              const GridTypeInfo*& type) {
  system = given.Has("--system") ? &ParseGridSystem(given.Required("--system"))
                                 : GridSystemByItem(settings.values.gridSystemItem);
  if (!system) throw UsageError(settings.Source() + " chooses no grid system; give --system");
  if (given.Has("--type")) {
    type = &ParseGridType(given.Required("--type"));
    CheckSystemOffersType(*system, *type);
    return;
  }
  type = GridTypeByItem(settings.values.gridTypeItem);
  if (!type) throw UsageError(settings.Source() + " chooses no grid type; give --type");
  if (!system->offersGridType[type->item]) type = &kMesstischblatt;
}

MapRequest ReadRequest(Arguments args) {
  const OptionReader given(args, WithCartographyOptions(kOptions));
  MapRequest request;
  request.out = given.Required("--out");
  request.format = FormatOfOutput(request.out);
  request.count = ReadCountArguments(given);
  const MapSettings settings = ReadMapSettings(given.Optional("--settings"));
  const WizardSettings& stored = settings.values;

  const GridSystemInfo* system = nullptr;
  ReadGrid(given, settings, system, request.gridType);
  request.map =
      BuildExtent(given.Optional("--nw").value_or(stored.northWest),
                  given.Optional("--se").value_or(stored.southEast), *request.gridType, *system);
  request.map.BackgroundImagePath = given.Optional("--bmp").value_or(stored.backgroundImage);
  const std::string& background = request.map.BackgroundImagePath;
  if (background.empty()) {
    throw UsageError("give the background map with --bmp (the settings hold none)");
  }
  const auto fontSize = [&](std::string_view option, const std::string& value, const char* key) {
    if (given.Has(option)) return FontSizeOption(given, option, "");
    return CheckedFontSize(settings.Source() + ", " + key, value);
  };
  request.style = {fontSize("--font-size", stored.fontSizeMargins, "eFontSizeMargins"),
                   ColorOption(given, "--color", stored.marginLabelColor),
                   fontSize("--cell-font-size", stored.fontSizeCells, "eFontSizeCells"),
                   ColorOption(given, "--cell-color", stored.cellValueColor),
                   ReadCartography(given)};
  request.force = given.Has("--force");

  std::vector<NamedInput> inputs = {{"--bmp", background}};
  if (request.count.database.file) inputs.push_back({"--db", *request.count.database.file});
  if (settings.file) inputs.push_back({"--settings", *settings.file});
  RefuseOutputNamingInput("--out", request.out, inputs);
  RefuseInputsThatAreNoFiles(inputs);
  if (request.format != PictureFormat::Pdf) {
    for (const SideFile& file : GeoreferenceFiles(request.out, {})) {
      RefuseSideFileNamingInput(request.out, file.path, inputs);
    }
  }
  return request;
}

// Writes the raster map and beside it the files that place it in a GIS.
void Write(const QImage& picture, const MapGeoreference& georeference,
           const std::filesystem::path& out, PictureFormat format) {
  if (format == PictureFormat::Jpeg) {
    WriteToFile(out, [&] { ExportJpeg(picture, out); });
  } else {
    SavePicture(picture, out.string(), format == PictureFormat::Png ? "PNG" : "BMP");
  }
  for (const SideFile& file : GeoreferenceFiles(out, georeference)) {
    WriteContents(file.path, file.contents);
  }
}

}  // namespace

// The dialog's main job in one command: the map picture of the background
// with the grid and its labels (start-up, "Karte neu zeichnen"), the count run
// with the counts written into the cells ("Datenbank auszählen"), and the
// export ("Karte exportieren"). The background is loaded first, so that a bad
// one fails before the database is opened for a long count.
int RunMap(Arguments args) {
  MapRequest request = ReadRequest(args);
  MapState& map = request.map;
  const MapStyle& style = request.style;
  CheckMapPictureSize(map.BackgroundImagePath, map, request.force);
  // A PDF takes the background alone: its grid is drawn as vectors.
  const bool pdf = request.format == PictureFormat::Pdf;
  std::optional<MapPicture> picture =
      pdf ? LoadBackgroundImage(map.BackgroundImagePath, map.SheetColumns, map.SheetRows)
          : DrawMapPicture(map, style);
  if (!picture) {
    throw Exception("cannot load '" + map.BackgroundImagePath + "' as a BMP background");
  }
  MapMarks marks;
  const CountResult counted = CountFromCommandLine(
      request.count, *request.gridType, false,
      [&](DatabaseSession& session, const CountRunInputs& inputs, ProgressSink& progress) {
        if (pdf) return CountDatabase(session, map, inputs, progress);
        MapJobResult result = CountIntoPicture(session, map, {inputs, style}, picture->picture,
                                               picture->margins, progress);
        marks = std::move(result.marks);
        return std::move(result.counted);
      });
  const MapFacts facts{request.count.measure, request.count.years, counted.cells.size(),
                       counted.distinctTaxa};
  if (pdf) {
    const PdfMap written = WriteToFile(
        request.out, [&] { return WriteMapPdf(request.out, *picture, map, style, facts); });
    ReportValuesLeftOut(written.marks);
    ReportWrittenPdf(request.out.string(), written.size);
    return 0;
  }
  const FinishedMap finished = FinishMap(*picture, map, style, marks, facts);
  Write(finished.picture, finished.georeference, request.out, request.format);
  ReportValuesLeftOut(marks);
  ReportWritten(request.out.string(), finished.picture);
  return 0;
}

}  // namespace velmora::cli
