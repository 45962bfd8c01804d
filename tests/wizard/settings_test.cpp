#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "wizard/settings_file.h"
#include "wizard/wizard_settings.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

using testing::ReadFileBytes;

// Points the per-user data folder at a fresh folder for the test.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldData_ = old;
    setenv("XDG_DATA_HOME", data_.c_str(), 1);
  }
  void TearDown() override {
    if (oldData_) {
      setenv("XDG_DATA_HOME", oldData_->c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
  }

  fs::path FilePath() const { return data_ / "Velmora" / "settings.ini"; }
  void WriteFile(const std::string& text) const {
    fs::create_directories(FilePath().parent_path());
    testing::WriteFileBytes(FilePath(), text);
  }
  long FilesInFolder() const {
    return std::distance(fs::directory_iterator(FilePath().parent_path()), {});
  }
  WizardSettings Loaded() const {
    WizardSettings settings;
    LoadSettings(settings);
    return settings;
  }

  const testing::TempFolder folder_;
  const fs::path& data_ = folder_.Path();
  std::optional<std::string> oldData_;
};

constexpr const char* kCanonicalDefaults =
    "eMtbNW=0901\r\neMtbSE=8756\r\nrgGridSystem=0\r\nrgGridType=0\r\neBackgroundImage=\r\n"
    "eFontSizeMargins=18\r\neFontSizeCells=10\r\nshpRBsrColor=clBlack\r\n"
    "shpCellValueColor=clBlack\r\n";

TEST_F(SettingsTest, PathsFollowTheDataFolder) {
  EXPECT_EQ(SettingsFolderPath(), data_.string());
  EXPECT_EQ(SettingsFilePath(), (data_ / "Velmora/settings.ini").string());

  // A relative XDG_DATA_HOME is not a data folder; the home folder's is used.
  setenv("XDG_DATA_HOME", "relative/data", 1);
  const std::string home = std::getenv("HOME");
  EXPECT_EQ(SettingsFolderPath(), home + "/.local/share");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(SettingsFolderPath(), home + "/.local/share");
}

TEST_F(SettingsTest, FirstStartKeepsDesignValuesCreatesTheFolderAndWritesNineLines) {
  EXPECT_EQ(Loaded(), WizardSettings{});
  EXPECT_TRUE(fs::is_directory(FilePath().parent_path()));
  EXPECT_FALSE(fs::exists(FilePath()));

  SaveSettings(WizardSettings{});
  EXPECT_EQ(ReadFileBytes(FilePath()), kCanonicalDefaults);
}

TEST(SettingsFileParse, AnyLineBreakFirstOccurrenceAnyCaseRestOfLine) {
  const SettingsFile file = SettingsFile::Parse(
      "EMTBNW=6508\rno equals sign\neMtbNW=0901\r\neBackgroundImage=C:\\a=b.bmp\n\n"
      "eFontSizeCells=\r\nshpRBsrColor=clRed");
  EXPECT_EQ(file.Value("eMtbNW"), "6508");
  EXPECT_EQ(file.Value("emtbnw"), "6508");
  EXPECT_EQ(file.Value("eBackgroundImage"), "C:\\a=b.bmp");
  EXPECT_EQ(file.Value("eFontSizeCells"), "");
  EXPECT_EQ(file.Value("shpRBsrColor"), "clRed");
  EXPECT_EQ(file.Value("no equals sign"), std::nullopt);
  EXPECT_EQ(file.Value("eMtbSE"), std::nullopt);
}

// A file that is not valid UTF-8 is Latin-1, the host's ANSI code page:
// each of its bytes is the character of the same number.
TEST(SettingsFileParse, TextThatIsNoUtf8IsLatin1) {
  const struct {
    const char* name;
    std::string value;  // as the file holds it
    SettingsEncoding encoding;
    std::string read;  // UTF-8
  } cases[] = {
      {"ASCII", "/karten/a.bmp", SettingsEncoding::Utf8, "/karten/a.bmp"},
      {"UTF-8", "/karten/M\xC3\xBChlheim.bmp", SettingsEncoding::Utf8,
       "/karten/M\xC3\xBChlheim.bmp"},
      {"four-byte UTF-8", "\xF0\x9F\x97\xBA.bmp", SettingsEncoding::Utf8, "\xF0\x9F\x97\xBA.bmp"},
      {"Latin-1", "/karten/M\xFChlheim/Karte\xE9.bmp", SettingsEncoding::Latin1,
       "/karten/M\xC3\xBChlheim/Karte\xC3\xA9.bmp"},
      {"a sequence cut short", "Karte\xC3", SettingsEncoding::Latin1, "Karte\xC3\x83"},
      {"an overlong form", "\xC0\xAF", SettingsEncoding::Latin1, "\xC3\x80\xC2\xAF"},
      {"a surrogate", "\xED\xA0\x80", SettingsEncoding::Latin1, "\xC3\xAD\xC2\xA0\xC2\x80"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", SettingsEncoding::Latin1,
       "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
  };
  for (const auto& c : cases) {
    const SettingsFile file = SettingsFile::Parse("eMtbNW=6508\r\neBackgroundImage=" + c.value);
    EXPECT_EQ(file.Encoding(), c.encoding) << c.name;
    EXPECT_EQ(file.Value("eBackgroundImage"), c.read) << c.name;
  }
}

// Written back, a Latin-1 file keeps its bytes: its paths are unchanged.
TEST_F(SettingsTest, ALatin1FileIsWrittenBackInLatin1) {
  const std::string latin1 = "/karten/M\xFChlheim/Karte\xE9.bmp";
  WriteFile("eMtbNW=6508\r\neMtbSE=6609\r\neBackgroundImage=" + latin1 + "\r\n");
  WizardSettings settings = Loaded();
  EXPECT_EQ(settings.backgroundImage, "/karten/M\xC3\xBChlheim/Karte\xC3\xA9.bmp");
  EXPECT_EQ(settings.encoding, SettingsEncoding::Latin1);
  SaveSettings(settings);
  EXPECT_NE(ReadFileBytes(FilePath()).find("\r\neBackgroundImage=" + latin1 + "\r\n"),
            std::string::npos);
  EXPECT_EQ(Loaded(), settings);

  // Latin-1 bytes that would read as UTF-8, and a character Latin-1 has not:
  // the file becomes UTF-8 and keeps every character.
  settings.backgroundImage = "/karten/\xC3\x83\xC2\xA9.bmp";  // Ã©
  SaveSettings(settings);
  EXPECT_EQ(Loaded().backgroundImage, settings.backgroundImage);
  settings.backgroundImage =
      "/karten/\xC5\x81\xC3\xB3"
      "d\xC5\xBA.bmp";
  SaveSettings(settings);
  EXPECT_NE(ReadFileBytes(FilePath()).find(settings.backgroundImage), std::string::npos);
  EXPECT_EQ(Loaded().backgroundImage, settings.backgroundImage);
  EXPECT_EQ(Loaded().encoding, SettingsEncoding::Utf8);
}

TEST_F(SettingsTest, KeysInOtherLetterCaseRestoreTheirControls) {
  WriteFile("EMTBNW=6508\r\neMtbSe=6609\r\nShpRBsrColor=clRed\r\n");
  const WizardSettings settings = Loaded();
  EXPECT_EQ(settings.northWest, "6508");
  EXPECT_EQ(settings.southEast, "6609");
  EXPECT_EQ(settings.marginLabelColor, 0x0000FFu);
  EXPECT_EQ(settings.gridTypeItem, 0);
}

TEST(ClampItemIndex, OutOfRangeIndexesSnapToNoneOrTheLastItem) {
  const struct {
    int index, itemCount, expected;
  } cases[] = {{7, 5, 4}, {-5, 5, -1}, {-1, 5, -1}, {3, 5, 3}, {2, 2, 1}, {0, 2, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(ClampItemIndex(c.index, c.itemCount), c.expected) << c.index;
  }
}

// The radio entries are clamped to their groups, and the grid type is the one
// the dialog would select for the grid system: one the grid system does not
// offer falls back to the whole sheet.
TEST_F(SettingsTest, RadioEntriesAreClampedAndTheGridTypeFitsTheGridSystem) {
  const struct {
    const char* lines;
    int gridSystemItem;
    int gridTypeItem;
  } cases[] = {
      {"rgGridType=7\n", 0, 4},
      {"rgGridType=3\nrgGridSystem=$5\n", 1, 3},
      {"rgGridType=-5\nrgGridSystem=-2\n", -1, -1},
      {"rgGridSystem=0\nrgGridType=2\n", 0, 0},
      {"rgGridSystem=0\nrgGridType=3\n", 0, 0},
      {"rgGridType=3\n", 0, 0},
      {"rgGridSystem=1\nrgGridType=4\n", 1, 0},
      {"rgGridSystem=1\nrgGridType=9\n", 1, 0},
      {"rgGridSystem=-1\nrgGridType=3\n", -1, 3},
      {"rgGridSystem=0\nrgGridType=-1\n", 0, -1},
  };
  for (const auto& c : cases) {
    WriteFile(c.lines);
    const WizardSettings settings = Loaded();
    EXPECT_EQ(settings.gridSystemItem, c.gridSystemItem) << c.lines;
    EXPECT_EQ(settings.gridTypeItem, c.gridTypeItem) << c.lines;
  }
}

// A south-east sheet in a later row but west of the north-west one leaves the
// map without sheet columns: such an extent falls back like any invalid one.
TEST_F(SettingsTest, InvalidExtentFallsBackToTheLargestMap) {
  for (const char* lines :
       {"eMtbNW=6508\neMtbSE=6408\n", "eMtbNW=\n", "eMtbNW=W50999\n", "eMtbNW=6508\neMtbSE=65\n",
        "eMtbNW=6508\neMtbSE=6601\n", "eMtbNW=6500\neMtbSE=W6699\n"}) {
    WriteFile(lines);
    const WizardSettings settings = Loaded();
    EXPECT_EQ(settings.northWest, "0901") << lines;
    EXPECT_EQ(settings.southEast, "8758") << lines;
  }
  WriteFile("eMtbNW=W5099\neMtbSE=5101\n");
  EXPECT_EQ(Loaded().northWest, "W5099");
  EXPECT_EQ(Loaded().southEast, "5101");
}

TEST_F(SettingsTest, InvalidIntegerStopsReadingAndTheRewriteRepairsTheFile) {
  WriteFile(
      "eMtbNW=6508\r\neMtbSE=6408\r\nrgGridSystem=abc\r\nrgGridType=3\r\n"
      "eFontSizeMargins=30\r\n");
  WizardSettings settings;
  try {
    LoadSettings(settings);
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  // The entries before the faulty one arrived; the extent check did not run.
  EXPECT_EQ(settings.northWest, "6508");
  EXPECT_EQ(settings.southEast, "6408");
  EXPECT_EQ(settings.gridTypeItem, 0);
  EXPECT_EQ(settings.fontSizeMargins, "18");

  SaveSettings(settings);
  EXPECT_EQ(ReadFileBytes(FilePath()),
            "eMtbNW=6508\r\neMtbSE=6408\r\nrgGridSystem=0\r\nrgGridType=0\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n");
  const WizardSettings next = Loaded();
  EXPECT_EQ(next.northWest, "0901");
  EXPECT_EQ(next.southEast, "8758");
}

TEST_F(SettingsTest, InvalidColourIsAConversionError) {
  WriteFile("eFontSizeCells=12\nshpRBsrColor=clReddish\nshpCellValueColor=clRed\n");
  WizardSettings settings;
  EXPECT_THROW(LoadSettings(settings), ConvertError);
  EXPECT_EQ(settings.fontSizeCells, "12");
  EXPECT_EQ(settings.cellValueColor, clBlack);
}

TEST_F(SettingsTest, EverySettingRoundTripsThroughTheFile) {
  WizardSettings settings;
  settings.northWest = "W5098";
  settings.southEast = "5101";
  settings.gridSystemItem = 1;
  settings.gridTypeItem = -1;
  settings.backgroundImage = "/maps/a=b.bmp";
  settings.fontSizeMargins = "";
  settings.fontSizeCells = "7";
  settings.marginLabelColor = 0x00FF8000;
  settings.cellValueColor = 0xFF000005;
  // A key may hold the list's separator, the escape sign and line breaks.
  settings.taxonGroups = {{"G-1", "a,b%2C", "x\r\ny"}};
  settings.surveys = std::vector<std::string>{};
  CreateSettingsFolder();
  SaveSettings(settings);
  EXPECT_EQ(Loaded(), settings);
  const std::string file = ReadFileBytes(FilePath());
  EXPECT_NE(file.find("shpRBsrColor=$00FF8000\r\n"), std::string::npos);
  EXPECT_NE(file.find("shpCellValueColor=clWindow\r\n"), std::string::npos);
  EXPECT_NE(file.find("\r\nclbTaxonGroups=G-1,a%2Cb%252C,x%0D%0Ay\r\nClbSurveys=\r\n"),
            std::string::npos)
      << file;
}

// The export's world file is off unless the entry is "1", and only then is it
// written back: otherwise the file is the nine lines the dialog always wrote.
TEST_F(SettingsTest, TheWorldFileEntryIsOnOnlyWhenItIsOne) {
  const struct {
    const char* entry;
    bool on;
  } entries[] = {{"", false},
                 {"exportworldfile=1\r\n", true},
                 {"ExportWorldFile=0\r\n", false},
                 {"ExportWorldFile=ja\r\n", false}};
  for (const auto& e : entries) {
    WriteFile(std::string("eMtbNW=6508\r\n") + e.entry);
    const WizardSettings settings = Loaded();
    EXPECT_EQ(settings.exportWorldFile, e.on) << e.entry;
    SaveSettings(settings);
    EXPECT_EQ(
        ReadFileBytes(FilePath()).ends_with("shpCellValueColor=clBlack\r\nExportWorldFile=1\r\n"),
        e.on)
        << e.entry;
  }
}

TEST_F(SettingsTest, WritingReplacesTheFileAndLeavesNoTemporaryFile) {
  WriteFile("eMtbNW=6508\neMtbNW=6508\nother=1\n");
  SaveSettings(WizardSettings{});
  EXPECT_EQ(ReadFileBytes(FilePath()), kCanonicalDefaults);
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(SettingsTest, WriteFailureNamesTheFileAndKeepsTheOldOne) {
  // No settings folder: the temporary file cannot be made.
  try {
    SaveSettings(WizardSettings{});
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "The settings file '" + FilePath().string() +
                                         "' could not be written: No such file or directory");
  }
  // The settings file is a folder: the rename fails, the temporary file goes.
  fs::create_directories(FilePath() / "inside");
  EXPECT_THROW(SaveSettings(WizardSettings{}), Exception);
  EXPECT_TRUE(fs::is_directory(FilePath() / "inside"));
  EXPECT_EQ(FilesInFolder(), 1);
  // Reading a folder instead of a file is reported, not taken for an empty file.
  WizardSettings settings;
  EXPECT_THROW(LoadSettings(settings), Exception);
}

}  // namespace
}  // namespace velmora
