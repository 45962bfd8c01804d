// velmora-map map: the wizard's main job in one command. What it writes is
// what the other commands make of the same database, and the settings the
// dialog stores set it up.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "demo/demo_database.h"
#include "map/jpeg_export.h"
#include "picture_compare.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

using testing::CommandResult;
using testing::RunCommand;

class MapCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testing::TempFolder>();
    demo::DemoOptions options;
    options.samples = 1200;
    demo::WriteDemoDatabase(Db(), options);
    const CommandResult background =
        Map({"background", "--nw", "6508", "--se", "6711", "--out", Bmp(), "--sheet-size", "120"});
    ASSERT_EQ(background.exitStatus, 0) << background.err;
  }
  static void TearDownTestSuite() { folder_.reset(); }
  void TearDown() override { std::filesystem::remove(SettingsFilePath()); }

  static std::string Db() { return folder_->PathOf("demo.db"); }
  static std::string Bmp() { return folder_->PathOf("land.bmp"); }
  static std::string Out(const std::string& name) { return folder_->PathOf(name); }

  static CommandResult Map(const std::vector<std::string>& args) {
    return RunCommand(VELMORA_MAP_PATH, args);
  }

  // The arguments of the map of the demo extent with more options; quadrants
  // of the minute field system unless they give the grid system.
  static std::vector<std::string> MapArgs(const std::string& out,
                                          const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"map",  "--db",  Db(),  "--nw",  "6508", "--se",
                                     "6711", "--bmp", Bmp(), "--out", out};
    if (std::ranges::find(more, "--system") == more.end()) {
      args.insert(args.end(), {"--system", "QYX", "--type", "1"});
    }
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  static CommandResult MapOf(const std::string& out, const std::vector<std::string>& more = {}) {
    return Map(MapArgs(out, more));
  }

  static void WriteSettings(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testing::WriteFileBytes(path, text);
  }

  static std::unique_ptr<testing::TempFolder> folder_;
};

std::unique_ptr<testing::TempFolder> MapCommand::folder_;

// The numbers that follow `label` in a tool's output, read as the tools write
// them (a decimal point, whatever the locale), up to the end of its line.
std::vector<double> NumbersAfter(const std::string& text, const std::string& label) {
  std::vector<double> numbers;
  const size_t at = text.find(label);
  if (at == std::string::npos) return numbers;
  const char* p = text.data() + at + label.size();
  const char* end = text.data() + std::min(text.find('\n', at + label.size()), text.size());
  while (p < end) {
    double number = 0;
    const auto [next, error] = std::from_chars(p, end, number);
    if (error == std::errc()) {
      numbers.push_back(number);
      p = next;
    } else {
      ++p;
    }
  }
  return numbers;
}

// One count run, one painting routine: the map is the count that
// velmora-count prints, drawn by velmora-map draw over the same background;
// a classed map is that count drawn in classes, whatever the count came from.
TEST_F(MapCommand, IsTheCountDrawnOverTheBackground) {
  // The first key that velmora-count lists for the database.
  const auto firstKey = [](const char* list) {
    const CommandResult keys = RunCommand(VELMORA_COUNT_PATH, {list, "--db", Db()});
    return keys.out.substr(0, keys.out.find('\t'));
  };
  const struct {
    std::vector<std::string> more;
    const char* pixels;
  } selections[] = {
      {{}, "540 x 420"},
      {{"--measure", "records", "--from", "2000", "--font-size", "12", "--cell-color", "clRed"},
       "540 x 420"},
      {{"--groups", firstKey("groups"), "--surveys", firstKey("surveys"), "--to", "2005",
        "--cell-font-size", "14", "--color", "clBlue"},
       "540 x 420"},
      {{"--classes", "4", "--palette", "Greys", "--fill-opacity", "80", "--values", "fit",
        "--cell-font-size", "30", "--title", "Alle Taxa"},
       "540 x 501"},  // the title above the map
  };
  const std::vector<std::string> countOptions = {"--measure", "--from", "--to", "--groups",
                                                 "--surveys"};
  for (size_t i = 0; i < std::size(selections); ++i) {
    const std::vector<std::string>& more = selections[i].more;
    const std::string png = Out("map" + std::to_string(i) + ".png");
    const CommandResult map = MapOf(png, more);
    ASSERT_EQ(map.exitStatus, 0) << map.err;
    EXPECT_EQ(map.out, png + ": " + selections[i].pixels + " pixels\n");
    EXPECT_NE(map.err.find("Übertrage Auszählergebnisse\n"), std::string::npos) << map.err;

    std::vector<std::string> countArgs = {"count", "--db",     Db(),  "--nw",   "6508", "--se",
                                          "6711",  "--system", "QYX", "--type", "1"};
    std::vector<std::string> drawArgs = {"draw",  "--nw", "6508",   "--se", "6711",
                                         "--bmp", Bmp(),  "--type", "1"};
    for (size_t k = 0; k < more.size(); k += 2) {
      std::vector<std::string>& args =
          std::ranges::find(countOptions, more[k]) != countOptions.end() ? countArgs : drawArgs;
      args.insert(args.end(), {more[k], more[k + 1]});
    }
    const CommandResult counts = RunCommand(VELMORA_COUNT_PATH, countArgs);
    ASSERT_EQ(counts.exitStatus, 0) << counts.err;
    EXPECT_NE(counts.out, "") << "a map with numbers";
    const std::string countsFile = Out("counts" + std::to_string(i) + ".tsv");
    testing::WriteFileBytes(countsFile, counts.out);
    const std::string drawn = Out("drawn" + std::to_string(i) + ".png");
    drawArgs.insert(drawArgs.end(), {"--counts", countsFile, "--out", drawn});
    ASSERT_EQ(Map(drawArgs).exitStatus, 0);
    EXPECT_EQ(testing::ReadFileBytes(png), testing::ReadFileBytes(drawn));
    if (i > 0) {
      EXPECT_NE(testing::ReadFileBytes(png), testing::ReadFileBytes(Out("map0.png")));
    }
  }

  // Any connection string reaches the same database.
  const std::string connected = Out("connected.png");
  ASSERT_EQ(Map({"map", "--connect", "Provider=SQLite;Data Source=" + Db(), "--nw", "6508", "--se",
                 "6711", "--system", "QYX", "--type", "1", "--bmp", Bmp(), "--out", connected})
                .exitStatus,
            0);
  EXPECT_EQ(testing::ReadFileBytes(connected), testing::ReadFileBytes(Out("map0.png")));
}

// On a terminal the status texts are followed by a bar that ends full; where
// the picture went stays on standard output.
TEST_F(MapCommand, OnATerminalTheBarEndsAtOneHundredPercent) {
  if (const auto missing = testing::WhyNoPseudoTerminal()) GTEST_SKIP() << *missing;
  const std::string png = Out("terminal.png");
  const CommandResult r = testing::RunCommandOnTerminal(
      VELMORA_MAP_PATH, {"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX",
                         "--type", "1", "--bmp", Bmp(), "--out", png});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, png + ": 540 x 420 pixels\n");
  EXPECT_NE(r.err.find("Hole Aufnahmen...\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("]  50%"), std::string::npos) << r.err;
  const std::string full = "\r[" + std::string(50, '#') + "] 100%\n";
  ASSERT_GE(r.err.size(), full.size());
  EXPECT_EQ(r.err.substr(r.err.size() - full.size()), full) << r.err;
}

// A .jpg is the dialog's export of that picture: EncodeJpeg, quality 90, baseline.
TEST_F(MapCommand, AJpegIsTheExportOfThePicture) {
  const std::string png = Out("picture.png");
  const std::string jpg = Out("picture.JPG");
  ASSERT_EQ(MapOf(png).exitStatus, 0);
  const CommandResult r = MapOf(jpg);
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, jpg + ": 540 x 420 pixels\n");
  EXPECT_EQ(testing::ReadFileBytes(jpg), EncodeJpeg(QImage(QString::fromStdString(png))));
}

// What the dialog stores sets the map up; options override it value by value.
TEST_F(MapCommand, TakesTheDialogsSettingsAndOptionsOverrideThem) {
  const std::string settings =
      "eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=1\r\nrgGridType=2\r\neBackgroundImage=" + Bmp() +
      "\r\neFontSizeMargins=14\r\neFontSizeCells=9\r\nshpRBsrColor=clNavy\r\n"
      "shpCellValueColor=$000080FF\r\n";
  const std::vector<std::string> asOptions = {
      "--system",         "QQQ", "--type",  "2",      "--font-size",  "14",
      "--cell-font-size", "9",   "--color", "clNavy", "--cell-color", "$000080FF"};
  const std::string given = Out("given.png");
  const CommandResult byOptions = MapOf(given, asOptions);
  ASSERT_EQ(byOptions.exitStatus, 0) << byOptions.err;

  WriteSettings(SettingsFilePath(), settings);
  const std::string stored = Out("stored.png");
  const CommandResult fromDialog = Map({"map", "--db", Db(), "--out", stored});
  ASSERT_EQ(fromDialog.exitStatus, 0) << fromDialog.err;
  EXPECT_EQ(testing::ReadFileBytes(stored), testing::ReadFileBytes(given))
      << "the dialog's own settings file, when there is one";

  const std::string elsewhere = Out("elsewhere.ini");
  WriteSettings(elsewhere, settings);
  std::filesystem::remove(SettingsFilePath());
  const std::string named = Out("named.png");
  ASSERT_EQ(Map({"map", "--db", Db(), "--settings", elsewhere, "--out", named}).exitStatus, 0);
  EXPECT_EQ(testing::ReadFileBytes(named), testing::ReadFileBytes(given));

  const std::string overridden = Out("overridden.png");
  ASSERT_EQ(Map({"map", "--db", Db(), "--settings", elsewhere, "--type", "1", "--font-size", "20",
                 "--out", overridden})
                .exitStatus,
            0);
  const std::string expected = Out("expected.png");
  ASSERT_EQ(
      MapOf(expected, {"--system", "QQQ", "--type", "1", "--font-size", "20", "--cell-font-size",
                       "9", "--color", "clNavy", "--cell-color", "$000080FF"})
          .exitStatus,
      0);
  EXPECT_EQ(testing::ReadFileBytes(overridden), testing::ReadFileBytes(expected));

  // The dialog puts a grid type its grid system does not offer back to the
  // whole sheet; an option that does so is refused.
  WriteSettings(elsewhere,
                "eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=0\r\nrgGridType=3\r\n"
                "eBackgroundImage=" +
                    Bmp() + "\r\n");
  const std::string sheets = Out("sheets.png");
  ASSERT_EQ(Map({"map", "--db", Db(), "--settings", elsewhere, "--out", sheets}).exitStatus, 0);
  const std::string wholeSheets = Out("whole.png");
  ASSERT_EQ(MapOf(wholeSheets, {"--system", "QYX", "--type", "0"}).exitStatus, 0);
  EXPECT_EQ(testing::ReadFileBytes(sheets), testing::ReadFileBytes(wholeSheets));
}

// A message that ends in a line break is the whole of its line; the others
// begin theirs.
TEST_F(MapCommand, RefusesBadRequestsBeforeCountingOrWriting) {
  const std::string out = Out("refused.png");
  const std::string badSettings = Out("bad.ini");
  WriteSettings(badSettings, "eMtbNW=6508\r\nrgGridType=abc\r\n");
  const std::string link = Out("db-link.png");
  std::filesystem::create_symlink(Db(), link);
  const std::string bmpAsPng = Out("land-copy.png");
  std::filesystem::create_hard_link(Bmp(), bmpAsPng);
  const std::string noType = Out("no-type.ini");
  WriteSettings(noType, "rgGridType=-1\r\n");
  const std::string tinyFont = Out("tiny.ini");
  WriteSettings(tinyFont, "eFontSizeCells=0\r\n");
  const std::string settingsAsPng = Out("settings.png");
  WriteSettings(settingsAsPng, "eMtbNW=6508\r\n");
  const std::string huge = testing::SaveBmpDeclaringSize(30000, 20000, *folder_, "huge.bmp");
  const std::string bmpAsWorldFile = Out("land-named.pgw");
  std::filesystem::create_hard_link(Bmp(), bmpAsWorldFile);
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"map", "--db", Db(), "--bmp", Bmp(), "--out", Out("map.tif")},
       "--out names a .jpg, .jpeg, .png, .bmp or .pdf file, not '" + Out("map.tif") + "'"},
      {{"map", "--db", Db(), "--bmp", Bmp()}, "option '--out' is missing"},
      {{"map", "--bmp", Bmp(), "--out", out},
       "give the database with exactly one of --db and --connect"},
      {{"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "1",
        "--out", out},
       "give the background map with --bmp (the settings hold none)"},
      {{"map", "--db", Db(), "--settings", Out("missing.ini"), "--out", out},
       "the settings file '" + Out("missing.ini") + "' does not exist"},
      {{"map", "--db", Db(), "--settings", badSettings, "--out", out},
       "the settings file '" + badSettings + "': 'abc' is not a valid integer value"},
      {{"map", "--db", Db(), "--settings", noType, "--bmp", Bmp(), "--out", out},
       "the settings file '" + noType + "' chooses no grid type; give --type"},
      {{"map", "--db", Db(), "--settings", tinyFont, "--bmp", Bmp(), "--out", out},
       "the settings file '" + tinyFont +
           "', eFontSizeCells takes a font size in points from 1 to 1000, not '0'"},
      {{"map", "--db", Db(), "--system", "QYX", "--type", "16tel-Quadranten", "--bmp", Bmp(),
        "--out", out},
       "the grid system QYX offers no grid type 16tel-Quadranten"},
      {{"map", "--db", Db(), "--bmp", Bmp(), "--font-size", "0", "--out", out},
       "--font-size takes a font size in points from 1 to 1000, not '0'"},
      {{"map", "--db", Db(), "--bmp", Bmp(), "--cell-color", "orange", "--out", out},
       "--cell-color: 'orange' is not a colour"},
      {{"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "1",
        "--bmp", Bmp(), "--groups", "NOSUCHKEY", "--out", out},
       "--groups: the database has no taxon group key 'NOSUCHKEY'"},
      {{"map", "--db", Db(), "--bmp", Bmp(), "--out", link},
       "--out '" + link + "' names the --db file '" + Db() + "'"},
      {{"map", "--connect", "Driver=libsqlite3odbc.so;Database=" + Db(), "--bmp", Bmp(), "--out",
        link},
       "--out '" + link + "' names the --db file '" + Db() + "'"},
      {{"map", "--db", Db(), "--bmp", Bmp(), "--out", bmpAsPng},
       "--out '" + bmpAsPng + "' names the --bmp file '" + Bmp() + "'"},
      {{"map", "--db", Db(), "--bmp", Bmp(), "--settings", settingsAsPng, "--out", settingsAsPng},
       "--out '" + settingsAsPng + "' names the --settings file '" + settingsAsPng + "'"},
      {{"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "1",
        "--bmp", huge, "--out", out},
       "the picture would be 33750 x 23750 pixels (802 megapixels, more than 500); give --force "
       "to make it all the same"},
      {MapArgs(out, {"--classes", "1"}), "--classes takes a whole number from 2 to 12, not '1'\n"},
      {MapArgs(out, {"--classes", "13"}),
       "--classes takes a whole number from 2 to 12, not '13'\n"},
      {MapArgs(out, {"--breaks", "1,10,5"}), "--breaks must rise, but 5 follows 10\n"},
      {MapArgs(out, {"--breaks", "1,5,5"}), "--breaks names 5 twice\n"},
      {MapArgs(out, {"--breaks", "1,,5"}),
       "--breaks takes whole numbers from 1, separated by commas, not ''\n"},
      {MapArgs(out, {"--breaks", "0,5"}),
       "--breaks takes whole numbers from 1, separated by commas, not '0'\n"},
      {MapArgs(out, {"--breaks", "1,2,3,4,5,6,7,8,9,10,11,12,13"}),
       "--breaks makes at most 12 classes, not 13\n"},
      {MapArgs(out, {"--classes", "5", "--breaks", "1,2"}),
       "give --classes or --breaks, not both\n"},
      {MapArgs(out, {"--classes", "5", "--palette", "Rainbow"}),
       "--palette: there is no palette 'Rainbow'; choose one of YlOrRd, YlGnBu, Greys, viridis\n"},
      {MapArgs(out, {"--palette", "Greys"}),
       "--palette colours classes: give --classes or --breaks\n"},
      {MapArgs(out, {"--classes", "5", "--fill-opacity", "101"}),
       "--fill-opacity takes a whole number from 0 to 100, not '101'\n"},
      {MapArgs(out, {"--classes", "5", "--fill-opacity", "-1"}),
       "--fill-opacity takes a whole number from 0 to 100, not '-1'\n"},
      {MapArgs(out, {"--values", "sometimes"}), "--values takes on, off or fit, not 'sometimes'\n"},
      {{"draw", "--nw", "6508", "--se", "6711", "--bmp", Bmp(), "--legend", "--out", out},
       "--legend belongs to --counts\n"},
  };
  for (const auto& c : cases) {
    const CommandResult r = Map(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(r.err.rfind("velmora-map: " + c.message, 0), 0u) << r.err;
    EXPECT_EQ(r.err.find("Hole Aufnahmen"), std::string::npos) << "refused before the count";
  }
  // Forced, the background is loaded, still before the count, and refused as
  // the file holds far fewer pixels than its header declares.
  const CommandResult forced = Map({"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system",
                                    "QYX", "--type", "1", "--bmp", huge, "--out", out, "--force"});
  EXPECT_EQ(forced.exitStatus, 1);
  EXPECT_EQ(forced.out, "");
  EXPECT_EQ(forced.err, "velmora-map: cannot load '" + huge + "' as a BMP background\n");
  const CommandResult worldFile =
      Map({"map", "--db", Db(), "--bmp", bmpAsWorldFile, "--out", Out("land-named.png")});
  EXPECT_EQ(worldFile.exitStatus, 2);
  EXPECT_EQ(worldFile.err, "velmora-map: --out '" + Out("land-named.png") + "' would write '" +
                               bmpAsWorldFile +
                               "' beside it, which is the --bmp file; choose another --out\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(Out("land-named.png")));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(testing::ReadFileBytes(settingsAsPng), "eMtbNW=6508\r\n");
}

// The cartography beyond the dialog's picture.

// gdalinfo places every raster map, classed or not, by its world file and
// auxiliary file: DHDN, and the corners of the extent's sheets on the map
// area's pixel edges to a tenth of a pixel. The map area is 480 x 360 pixels
// from (60, 60), below the title when there is one.
TEST_F(MapCommand, AGisPlacesTheMapWhereItsSheetsLie) {
  const struct {
    std::string out;
    std::vector<std::string> more;
    const char* worldFile;
  } maps[] = {
      {Out("placed.jpg"), {}, "placed.jgw"},
      {Out("placed.png"), {"--classes", "5", "--legend", "--title", "Farne"}, "placed.pgw"},
      {Out("placed.bmp"), {"--legend"}, "placed.bpw"},
  };
  for (const auto& m : maps) {
    ASSERT_EQ(MapOf(m.out, m.more).exitStatus, 0);
    EXPECT_TRUE(std::filesystem::exists(Out(m.worldFile))) << m.worldFile;
    const CommandResult info = RunCommand("/usr/bin/gdalinfo", {m.out});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    EXPECT_NE(info.out.find("GEOGCRS[\"DHDN\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("ID[\"EPSG\",4314]"), std::string::npos) << info.out;
    const std::vector<double> origin = NumbersAfter(info.out, "Origin = ");
    const std::vector<double> pixel = NumbersAfter(info.out, "Pixel Size = ");
    ASSERT_EQ(origin.size(), 2u) << info.out;
    ASSERT_EQ(pixel.size(), 2u) << info.out;
    const double originX = origin[0], originY = origin[1], sizeX = pixel[0], sizeY = pixel[1];
    // 6508 begins at 7°E and 49.5°N; 6711 ends at 7°40'E and 49.2°N.
    const double west = (7.0 - originX) / sizeX, east = (7.0 + 4.0 / 6 - originX) / sizeX;
    const double north = (49.5 - originY) / sizeY, south = (49.2 - originY) / sizeY;
    EXPECT_NEAR(west, 60, 0.1) << m.out;
    EXPECT_NEAR(east, 540, 0.1) << m.out;
    EXPECT_NEAR(south - north, 360, 0.1) << m.out;
    if (m.more.empty()) {
      EXPECT_NEAR(north, 60, 0.1);
    }
  }
}

// A PDF is one page of the map's shape, and its legend is text.
TEST_F(MapCommand, APdfIsOnePageWithItsLegendAsText) {
  const std::string pdf = Out("map.pdf");
  const CommandResult r = MapOf(pdf, {"--classes", "5", "--legend", "--title", "Farne im Saarland",
                                      "--from", "2000", "--values", "fit"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  int width = 0, height = 0;
  ASSERT_EQ(std::sscanf(r.out.c_str(), (pdf + ": 1 page of %d x %d pixels at 96 per inch").c_str(),
                        &width, &height),
            2)
      << r.out;
  EXPECT_EQ(width, 540);
  EXPECT_GT(height, 420) << "the title and the legend besides the map";
  if (!std::filesystem::exists("/usr/bin/pdfinfo") ||
      !std::filesystem::exists("/usr/bin/pdftotext")) {
    GTEST_SKIP() << "no pdfinfo and pdftotext (Debian's poppler-utils) to read the PDF";
  }
  const CommandResult info = RunCommand("/usr/bin/pdfinfo", {pdf});
  ASSERT_EQ(info.exitStatus, 0) << info.err;
  EXPECT_EQ(NumbersAfter(info.out, "\nPages:"), std::vector<double>{1}) << info.out;
  const std::vector<double> page = NumbersAfter(info.out, "Page size:");
  ASSERT_EQ(page.size(), 2u) << info.out;
  // 96 pixels are 72 points.
  EXPECT_NEAR(page[0], width * 0.75, 1) << info.out;
  EXPECT_NEAR(page[1], height * 0.75, 1) << info.out;
  const CommandResult text = RunCommand("/usr/bin/pdftotext", {pdf, "-"});
  ASSERT_EQ(text.exitStatus, 0) << text.err;
  for (const char* legend : {"Farne im Saarland", "Taxa", "Quadranten", "MTB 6508–6711", "ab 2000",
                             "Rasterfelder", "65", "08"}) {
    EXPECT_NE(text.out.find(legend), std::string::npos) << legend << " in\n" << text.out;
  }
}

// Values too wide for their cells even at 6 points are left out, and the
// map says so; it is then the map without values.
TEST_F(MapCommand, ValuesThatDoNotFitAreLeftOutAndSaidSo) {
  const std::string small = Out("small.bmp");
  ASSERT_EQ(
      Map({"background", "--nw", "6508", "--se", "6711", "--out", small, "--sheet-size", "30"})
          .exitStatus,
      0);
  const auto minutes = [&](const std::string& out, const char* values) {
    return Map({"map", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type",
                "4", "--bmp", small, "--classes", "3", "--values", values, "--out", out});
  };
  const CommandResult left = minutes(Out("left-out.png"), "fit");
  ASSERT_EQ(left.exitStatus, 0) << left.err;
  EXPECT_NE(left.err.find("velmora-map: the values are left out: even at 6 points the widest, "),
            std::string::npos)
      << left.err;
  const CommandResult none = minutes(Out("no-values.png"), "off");
  ASSERT_EQ(none.exitStatus, 0) << none.err;
  EXPECT_EQ(none.err.find("left out"), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(Out("left-out.png")),
            testing::ReadFileBytes(Out("no-values.png")));
}

}  // namespace
}  // namespace velmora
