// velmora-map map does the dialog's main job: for the same settings, database
// and background its JPEG is, byte for byte, the export of the picture the
// dialog shows after "Datenbank auszählen".
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "grid/geodll32.h"
#include "map/jpeg_export.h"
#include "platform/message_box.h"
#include "session_connector.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

TEST(MapCommand, WritesTheDialogsExportByteForByte) {
  LoadGeodeticLibrary();
  testing::TempFolder folder;
  demo::DemoOptions options;
  options.samples = 1500;
  options.seed = 7;
  const std::string db = (folder.Path() / "demo.db").string();
  const std::string bmp = (folder.Path() / "demo.bmp").string();
  demo::WriteDemoDatabase(db, options);
  demo::WriteBackgroundBmp(bmp, options.extent, options.seed);

  const struct {
    const char* settings;
  } cases[] = {
      {"eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=0\r\nrgGridType=1\r\n"
       "eFontSizeMargins=18\r\neFontSizeCells=10\r\nshpRBsrColor=clBlack\r\n"
       "shpCellValueColor=clBlack\r\n"},
      {"eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=1\r\nrgGridType=3\r\n"
       "eFontSizeMargins=11\r\neFontSizeCells=7\r\nshpRBsrColor=clNavy\r\n"
       "shpCellValueColor=$000000FF\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    std::filesystem::create_directories(VelmoraFolderPath());
    testing::WriteFileBytes(SettingsFilePath(),
                            std::string(c.settings) + "eBackgroundImage=" + bmp + "\r\n");

    // The user's way: the dialog starts with the stored settings, "Alle" under
    // both lists, "Datenbank auszählen".
    RecordingMessageSink messages;
    auto wizard = CreateWizard(
        std::make_unique<testing::SessionConnector>("Provider=SQLite;Data Source=" + db));
    wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    QTest::mouseClick(&wizard->btAllTaxonGroups, Qt::LeftButton);
    QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
    QTest::mouseClick(&wizard->btCountDatabase, Qt::LeftButton);
    ASSERT_TRUE(messages.Shown().empty());
    const std::string exported = EncodeJpeg(wizard->Image1.Picture());
    DestroyWizard(std::move(wizard));

    const std::string jpg = (folder.Path() / "map.jpg").string();
    const testing::CommandResult map =
        testing::RunCommand(VELMORA_MAP_PATH, {"map", "--db", db, "--out", jpg});
    ASSERT_EQ(map.exitStatus, 0) << map.err;
    EXPECT_TRUE(testing::ReadFileBytes(jpg) == exported) << "the same bytes";
  }
}

}  // namespace
}  // namespace velmora
