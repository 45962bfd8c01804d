// The main job: its picture is the background with the grid, and its count is
// the count run with the values written into that picture, nothing else.
#include "map/map_job.h"

#include <gtest/gtest.h>

#include "grid/geodll32.h"
#include "host_fixture.h"
#include "map/cell_values.h"
#include "picture_compare.h"

namespace velmora {
namespace {

class RecordedTexts final : public ProgressSink {
 public:
  void SetProgressText(const std::string& text) override { texts.push_back(text); }
  void SetProgressPosition(int) override {}
  std::vector<std::string> texts;
};

// A map of 6508 to 6609 in quadrants with two taxa in 6508/1, over a plain
// background, and its picture drawn in a style other than the defaults.
class MapJob : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadGeodeticLibrary();
    host.AddTaxonGroup("G1", "Farne", 1);
    host.AddTaxon("T1", "G1");
    host.AddTaxon("T2", "G1");
    const testing::Point a = testing::MinuteFieldCentre(65, 8, 0, 0);
    host.AddSample("S1", a.latitude, a.longitude);
    host.AddRecord("S1", "T1");
    host.AddRecord("S1", "T2");
    QImage background(400, 300, QImage::Format_RGB32);
    background.fill(QColor(200, 220, 180));
    BuildCellList(
        {1, 0, Extent::Read("6508", "6609"), testing::SaveBmp(background, folder, "karte.bmp")},
        map);
    picture = DrawMapPicture(map, style).value();
  }

  CountResult Count(QImage& onto) {
    return CountIntoPicture(host.Session(), map, {{&kGridTypes[1], "'G1'", "'SURVEY01'"}, style},
                            onto, picture.margins, progress)
        .counted;
  }

  testing::HostFixture host;
  testing::TempFolder folder;
  MapState map;
  const MapStyle style{"11", 0x800000, "14", 0x0000FF};
  MapPicture picture;
  RecordedTexts progress;
};

TEST_F(MapJob, ThePictureIsTheBackgroundWithTheGridInTheStyle) {
  std::optional<MapPicture> loaded = LoadBackgroundImage(map.BackgroundImagePath, 2, 2);
  ASSERT_TRUE(loaded);
  DrawGrid(loaded->picture, {loaded->margins, 2, 2, 65, 108, "11", 0x800000});
  EXPECT_EQ(picture.margins, loaded->margins);
  EXPECT_EQ(picture.picture, loaded->picture);

  map.BackgroundImagePath = folder.PathOf("fehlt.bmp");
  EXPECT_FALSE(DrawMapPicture(map, style));
}

TEST_F(MapJob, TheCountIsTheCountRunWithItsValuesWrittenIntoThePicture) {
  QImage counted = picture.picture;
  const CountResult result = Count(counted);
  EXPECT_EQ(result.cells, (std::vector<CellCount>{{"6508/1", 2, std::nullopt}}));
  EXPECT_EQ(map.Grids[0][0].Count, "2");
  QImage expected = picture.picture;
  DrawCellValues(expected, map.Grids, {picture.margins, 4, 4, "14", 0x0000FF});
  EXPECT_EQ(counted, expected);
  EXPECT_EQ(progress.texts.front(), "Hole Aufnahmen...");
  EXPECT_EQ(progress.texts.back(), "Übertrage Auszählergebnisse");

  QImage none;
  Count(none);
  EXPECT_TRUE(none.isNull()) << "a null picture gets nothing";

  host.Session().ExecuteNoRecords("DROP TABLE TAXON_DETERMINATION");
  QImage failed = picture.picture;
  EXPECT_ANY_THROW(Count(failed));
  EXPECT_EQ(failed, picture.picture) << "a failed count draws nothing";
}

}  // namespace
}  // namespace velmora
