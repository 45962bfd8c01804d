#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Each test starts without a settings file in the test's own data folder.
class WizardLifecycle : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove(SettingsFilePath()); }

  static void WriteFile(const std::string& text) {
    fs::create_directories(VelmoraFolderPath());
    std::ofstream(SettingsFilePath(), std::ios::binary) << text;
  }

  static std::string FileText() {
    std::ifstream in(SettingsFilePath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(WizardLifecycle, StoredSettingsReachTheControlsAndTheFirstCellList) {
  WriteFile(
      "EMTBNW=6508\neMtbSe=6609\nrgGridSystem=1\nrgGridType=3\n"
      "eBackgroundImage=C:\\a=b.bmp\neFontSizeMargins=\neFontSizeCells=12\n"
      "ShpRBsrColor=clRed\nshpCellValueColor=$00FF8000\n");
  const auto wizard = CreateWizard();
  EXPECT_EQ(wizard->eMtbNw.text(), "6508");
  EXPECT_EQ(wizard->eMtbSe.text(), "6609");
  EXPECT_EQ(wizard->rgGridSystem.ItemIndex(), 1);
  EXPECT_EQ(wizard->rgGridType.ItemIndex(), 3);
  EXPECT_EQ(wizard->eBackgroundImage.text(), "C:\\a=b.bmp");
  EXPECT_EQ(wizard->eFontSizeMargins.text(), "");
  EXPECT_EQ(wizard->eFontSizeCells.text(), "12");
  EXPECT_EQ(wizard->ShpRBsrColor.BrushColor(), 0x0000FFu);
  EXPECT_EQ(wizard->shpCellValueColor.BrushColor(), 0x00FF8000u);

  EXPECT_EQ(wizard->Map.CellsPerSheet, 64);
  EXPECT_EQ(wizard->Map.GridSystemCode, "QQQ");
  EXPECT_EQ(wizard->Map.CellRows, 16);
  EXPECT_EQ(wizard->Map.BackgroundImagePath, "C:\\a=b.bmp");
  EXPECT_FALSE(wizard->rgGridType.IsItemEnabled(4)) << "minute fields are not offered";
  EXPECT_EQ(wizard->pcWizard.currentIndex(), 0);
}

TEST_F(WizardLifecycle, ClosingWritesTheControlsAsTheyStand) {
  auto wizard = CreateWizard();
  wizard->eMtbSe.setText("8758");
  wizard->rgGridType.SetItemIndex(-1);
  wizard->shpCellValueColor.SetBrushColor(0x00FF8000);
  DestroyWizard(std::move(wizard));
  EXPECT_EQ(FileText(),
            "eMtbNW=0901\r\neMtbSE=8758\r\nrgGridSystem=0\r\nrgGridType=-1\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=$00FF8000\r\n");
}

TEST_F(WizardLifecycle, AValueThatIsNoNumberStopsTheStartAndTheRewriteRepairsTheFile) {
  WriteFile("eMtbNW=6508\neMtbSE=6609\nrgGridSystem=abc\nrgGridType=2\neFontSizeCells=7\n");
  try {
    CreateWizard();
    FAIL() << "the dialog opened";
  } catch (const ConvertError& error) {
    EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(FileText(),
            "eMtbNW=6508\r\neMtbSE=6609\r\nrgGridSystem=0\r\nrgGridType=0\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n");
  EXPECT_EQ(CreateWizard()->eMtbNw.text(), "6508");
}

}  // namespace
}  // namespace velmora
