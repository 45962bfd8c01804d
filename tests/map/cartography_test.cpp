// What a map shows beyond the dialog's picture: class colours, the legend's
// texts and place, values that fit, the world file, and the PDF's drawing.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <set>
#include <sstream>

#include "map/cell_fills.h"
#include "map/legend.h"
#include "map/map_font.h"
#include "map/map_job.h"
#include "map/palettes.h"
#include "map/text_metrics.h"
#include "map/value_fit.h"
#include "map/world_file.h"
#include "picture_compare.h"

namespace velmora {
namespace {

TEST(CellFills, ValuesTurnWhiteWhereTheirColourWouldNotRead) {
  EXPECT_EQ(FillOverWhite(QColor(0, 0, 0), 100), QColor(0, 0, 0));
  EXPECT_EQ(FillOverWhite(QColor(0, 0, 0), 0), QColor(255, 255, 255));
  EXPECT_EQ(FillOverWhite(QColor(0, 0, 0), 50), QColor(127, 127, 127));
  EXPECT_EQ(ValueColorOn(QColor("#ffffb2"), 65, Qt::black), QColor(Qt::black));
  EXPECT_EQ(ValueColorOn(QColor("#800026"), 65, Qt::black), QColor(Qt::white));
  EXPECT_EQ(ValueColorOn(QColor("#800026"), 0, Qt::black), QColor(Qt::black))
      << "no fill: the background decides";
  EXPECT_EQ(ValueColorOn(QColor("#ffffcc"), 100, Qt::white), QColor(Qt::black));
}

MapState QuadrantMap(const char* northWest, const char* southEast, int gridType = 1) {
  MapState map;
  BuildCellList({gridType, 0, Extent::Read(northWest, southEast), ""}, map);
  return map;
}

// The legend's texts, golden.
TEST(MapLegend, SaysTheMeasureClassesAndFacts) {
  const ColorClasses classes{{1, 5, 10}, std::nullopt};
  const std::vector<QColor> colors = ClassColors(Palettes().front(), 3);
  const struct {
    const char* name;
    MapState map;
    MapFacts facts;
    const ColorClasses* classes;
    LegendContent expected;
  } cases[] = {
      {"taxa of a quadrant map",
       QuadrantMap("6508", "6711"),
       {CountMeasure::Taxa, {}, 48, 395},
       &classes,
       {"Taxa", {{}, {}, {}}, {"Quadranten", "MTB 6508–6711", "48 Rasterfelder", "395 Taxa"}}},
      {"records of one sheet in some years",
       QuadrantMap("6508", "6508", 0),
       {CountMeasure::Records, {2000, 2010}, 1, 1},
       nullptr,
       {"Nachweise", {}, {"Messtischblatt", "MTB 6508", "2000–2010", "1 Rasterfeld", "1 Taxon"}}},
      {"from a year on, west sheets, no total",
       QuadrantMap("W5099", "5000", 4),
       {CountMeasure::Taxa, {.from = 1990}, 0, std::nullopt},
       nullptr,
       {"Taxa", {}, {"Minutenfelder", "MTB W5099–5000", "ab 1990", "0 Rasterfelder"}}},
      {"up to a year",
       QuadrantMap("0901", "0901", 3),
       {CountMeasure::Taxa, {.to = 1995}, 2, 2},
       nullptr,
       {"Taxa", {}, {"16tel-Quadranten", "MTB 0901", "bis 1995", "2 Rasterfelder", "2 Taxa"}}},
      {"one year",
       QuadrantMap("6508", "6509", 2),
       {CountMeasure::Taxa, {2005, 2005}, 7, 12},
       nullptr,
       {"Taxa", {}, {"4tel-Quadranten", "MTB 6508–6509", "2005", "7 Rasterfelder", "12 Taxa"}}},
  };
  for (const auto& c : cases) {
    LegendContent legend =
        MapLegend(c.map, c.facts, c.classes ? *c.classes : ColorClasses{}, colors, 65);
    std::vector<std::string> labels;
    for (const LegendSwatch& swatch : legend.swatches) labels.push_back(swatch.label);
    if (c.classes) {
      EXPECT_EQ(labels, (std::vector<std::string>{"1–4", "5–9", "≥ 10"})) << c.name;
      EXPECT_EQ(legend.swatches[2].color, FillOverWhite(colors[2], 65)) << c.name;
    }
    EXPECT_EQ(legend.heading, c.expected.heading) << c.name;
    EXPECT_EQ(legend.facts, c.expected.facts) << c.name;
  }
}

// However narrow the map, the legend's texts stay within its width (but a
// single text wider than it) and below one another, never overlapping.
TEST(MapLegend, WrapsWithinTheMapsWidth) {
  const LegendContent legend =
      MapLegend(QuadrantMap("6508", "6711"), {CountMeasure::Taxa, {1950, 2020}, 48, 395},
                {{1, 10, 100, 1000}, 5000}, ClassColors(Palettes().front(), 4), 65);
  const QFont font = MapFont(12);
  const int line = QFontMetrics(font).height();
  int lastLines = 0;
  for (const int width : {1200, 400, 200, 120}) {
    const StripLayout strip = LayOutLegend(legend, font, width);
    std::set<int> lines;
    for (const StripText& text : strip.texts) {
      lines.insert(text.at.y());
      EXPECT_GE(text.at.x(), line / 2);
      if (text.at.x() > line / 2) {
        EXPECT_LE(text.at.x() + TextWidthOf(font, text.text), width) << text.text.toStdString();
      }
      EXPECT_LT(text.at.y() + line, strip.height);
    }
    for (const auto& [rect, color] : strip.swatches) EXPECT_LE(rect.right(), width);
    EXPECT_GT(static_cast<int>(lines.size()), lastLines) << width;
    lastLines = static_cast<int>(lines.size());
  }
}

TEST(ValueFit, TheLargestSizeAtWhichTheWidestValueFits) {
  const TGrids grids = {{{"a", "7"}, {"b", "0"}}, {{"c", "123"}, {"d", "45"}}};
  EXPECT_EQ(FitValues(grids, 200, 200, 10).points, 10) << "never above the value font size";
  const ValueFit fit = FitValues(grids, 24, 40, 10);
  ASSERT_TRUE(fit.points);
  EXPECT_LT(*fit.points, 10);
  EXPECT_EQ(fit.widest, "123");
  EXPECT_LE(TextWidthOf(MapFont(*fit.points), "123"), 0.8 * 24);
  EXPECT_GT(TextWidthOf(MapFont(*fit.points + 1), "123"), 0.8 * 24);
  const ValueFit none = FitValues(grids, 8, 40, 10);
  EXPECT_FALSE(none.points);
  EXPECT_EQ(none.widest, "123");
  EXPECT_FALSE(FitValues(grids, 200, 6, 10).points) << "too low a cell";
  EXPECT_EQ(FitValues({{{"a", "0"}}}, 1, 1, 10).points, 10) << "no values";
}

TEST(WorldFile, NamesFollowThePicturesExtension) {
  const struct {
    const char* picture;
    const char* world;
  } names[] = {{"map.png", "map.pgw"}, {"map.jpg", "map.jgw"}, {"a/map.jpeg", "a/map.jgw"},
               {"MAP.PNG", "MAP.PGW"}, {"map.bmp", "map.bpw"}, {"x.y/map.tif", "x.y/map.tfw"}};
  for (const auto& n : names) EXPECT_EQ(WorldFilePath(n.picture), n.world) << n.picture;
  EXPECT_EQ(AuxiliaryFilePath("a/map.png"), "a/map.png.aux.xml");
  EXPECT_NE(DhdnAuxiliaryText().find(R"(AUTHORITY["EPSG","4314"])"), std::string::npos);
}

// The six numbers of the world file put the corners of the extent's sheets
// on the pixel edges of the map area, whatever lies around it.
TEST(WorldFile, PutsTheSheetCornersOnTheMapAreasEdges) {
  const MapState map = QuadrantMap("W5098", "5201");  // 4 x 3 sheets across the west edge
  const MapGeoreference georeference = GeoreferenceOf(map, {61, 95}, {961, 700});
  std::istringstream lines(WorldFileText(georeference));
  double a, d, b, e, c, f;
  lines >> a >> d >> b >> e >> c >> f;
  EXPECT_EQ(d, 0);
  EXPECT_EQ(b, 0);
  // Pixel edges (x, y) are at longitude c + (x - 0.5) a, latitude f + (y - 0.5)
  // e.
  const auto longitude = [&](double x) { return c + (x - 0.5) * a; };
  const auto latitude = [&](double y) { return f + (y - 0.5) * e; };
  // Sheet column 01 begins at 5°50', so 00 at 5°40' and W98 two columns west
  // of it at 5°20'; 01 ends at 6°.
  EXPECT_NEAR(longitude(61), 5 + 20.0 / 60, 1e-12);
  EXPECT_NEAR(longitude(61 + 961), 6.0, 1e-12);
  // Sheet row 50 spans 56° - 50 x 6' southwards; row 52 ends 0.3° further.
  EXPECT_NEAR(latitude(95), 51.0, 1e-12);
  EXPECT_NEAR(latitude(95 + 700), 50.7, 1e-12);
}

// A map whose cells are classed: fills under the grid's lines, values over
// them, and the PDF's painting gives the very same picture.
class ClassedMap : public ::testing::Test {
 protected:
  void SetUp() override {
    QImage land(480, 360, QImage::Format_RGB32);
    land.fill(QColor(200, 230, 180));
    map = QuadrantMap("6508", "6711");
    map.BackgroundImagePath = testing::SaveBmp(land, folder, "land.bmp");
    int n = 0;
    for (auto& row : map.Grids) {
      for (TGrid& cell : row) cell.Count = std::to_string(n++ % 5 == 0 ? 0 : n * 3);
    }
    style.cartography.classes = ClassRule{4, {}};
    style.cartography.fillOpacity = 50;
  }

  testing::TempFolder folder;
  MapState map;
  MapStyle style;
};

TEST_F(ClassedMap, FillsLieUnderTheGridAndTheValuesOverThem) {
  MapPicture picture = DrawMapPicture(map, style).value();
  const QImage before = picture.picture;
  style.cartography.values = CellValues::Off;
  const MapMarks marks = DrawMapValues(picture.picture, picture.margins, map, style);
  ASSERT_EQ(marks.classes.Size(), 4);
  // Cell row 0, column 1 (count 6) is of the first class; it is 60 x 60
  // pixels from (120, 60) on, and the sheet line at x = 180 bounds it.
  const QColor fill = marks.colors[marks.classes.ClassOf(6)];
  const QColor filled = picture.picture.pixelColor(150, 90);
  const auto blend = [](int f, int b) { return (f + b) / 2; };
  EXPECT_NEAR(filled.red(), blend(fill.red(), 200), 1);
  EXPECT_NEAR(filled.green(), blend(fill.green(), 230), 1);
  EXPECT_NEAR(filled.blue(), blend(fill.blue(), 180), 1);
  EXPECT_EQ(picture.picture.pixelColor(180, 90), QColor(160, 160, 164)) << "the sheet line";
  EXPECT_EQ(picture.picture.pixelColor(90, 90), before.pixelColor(90, 90)) << "no count";
  EXPECT_EQ(picture.picture.copy(0, 0, 540, 60), before.copy(0, 0, 540, 60)) << "the margin";
}

TEST_F(ClassedMap, ThePdfsPaintingIsThePicture) {
  style.cartography.values = CellValues::Fit;
  style.cellFontSize = "30";
  MapPicture drawn = DrawMapPicture(map, style).value();
  const MapMarks marks = DrawMapValues(drawn.picture, drawn.margins, map, style);
  ASSERT_TRUE(marks.valuePoints);
  EXPECT_LT(*marks.valuePoints, 30);

  const MapPicture background =
      LoadBackgroundImage(map.BackgroundImagePath, map.SheetColumns, map.SheetRows).value();
  QImage painted(background.picture.size(), QImage::Format_RGB32);
  QPainter painter(&painted);
  PaintMap(painter, background, map, style, marks);
  painter.end();
  EXPECT_EQ(testing::DifferingPixels(painted, drawn.picture, painted.rect()), 0);
}

// The legend strip lies below the picture, which stays as it was; the world
// file's map area is the picture's, moved down by the title.
TEST_F(ClassedMap, TheLegendNeverCoversTheMap) {
  MapPicture drawn = DrawMapPicture(map, style).value();
  style.cartography.legend = true;
  style.cartography.title = "Farne und Blütenpflanzen";
  const MapMarks marks = DrawMapValues(drawn.picture, drawn.margins, map, style);
  const FinishedMap finished = FinishMap(drawn, map, style, marks, {CountMeasure::Taxa, {}, 10, 7});
  const int titleHeight = finished.georeference.mapAt.y() - drawn.margins.top;
  EXPECT_GT(titleHeight, 0);
  EXPECT_GT(finished.picture.height(), titleHeight + drawn.picture.height());
  EXPECT_EQ(finished.picture.copy(0, titleHeight, 540, 420), drawn.picture);
  EXPECT_EQ(finished.georeference.mapAt, QPoint(60, titleHeight + 60));
  EXPECT_EQ(finished.georeference.mapSize, QSize(480, 360));
}

}  // namespace
}  // namespace velmora
