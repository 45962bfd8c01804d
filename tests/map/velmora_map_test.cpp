// The velmora-map command line: exit status, messages and the pictures it writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "picture_compare.h"
#include "support/file_bytes.h"
#include "support/run_command.h"

namespace velmora {
namespace {

using testing::CommandResult;

CommandResult Map(const std::vector<std::string>& args) {
  return testing::RunCommand(VELMORA_MAP_PATH, args);
}

// A white background of the size given, as a BMP in the folder.
std::string WhiteBmp(const testing::TempFolder& folder, int width, int height) {
  QImage white(width, height, QImage::Format_RGB32);
  white.fill(Qt::white);
  return testing::SaveBmp(white, folder, "white.bmp");
}

TEST(VelmoraMap, DrawsTheGridOverAMadeUpBackground) {
  const testing::TempFolder folder;
  const std::string bmp = folder.PathOf("land.bmp");
  const std::string png = folder.PathOf("map.png");
  const CommandResult background =
      Map({"background", "--nw", "W5099", "--se", "5302", "--out", bmp, "--sheet-size", "150"});
  EXPECT_EQ(background.exitStatus, 0);
  EXPECT_EQ(background.err, "");
  EXPECT_EQ(background.out, bmp + ": 600 x 600 pixels\n");
  EXPECT_EQ(QImage(QString::fromStdString(bmp)).size(), QSize(4 * 150, 4 * 150));

  const CommandResult draw = Map({"draw", "--nw", "W5099", "--se", "5302", "--bmp", bmp, "--out",
                                  png, "--font-size", "12", "--color", "clRed"});
  EXPECT_EQ(draw.exitStatus, 0);
  EXPECT_EQ(draw.err, "");
  EXPECT_EQ(draw.out, png + ": 675 x 675 pixels\n") << "where the picture went";
  const QImage map(QString::fromStdString(png));
  EXPECT_EQ(map.size(), QSize(675, 675));  // margins of half a sheet: 75
  EXPECT_EQ(map.pixelColor(75 + 150, 400), QColor(160, 160, 164));
  EXPECT_GT(testing::PixelsOfColor(map, QColor(255, 0, 0), QRect(0, 0, 675, 75)), 0);
}

TEST(VelmoraMap, WritesCountsIntoTheirCells) {
  const testing::TempFolder folder;
  const std::string bmp = WhiteBmp(folder, 400, 200);
  const std::string png = folder.PathOf("map.png");
  const std::string counts = folder.PathOf("counts.csv");
  // The header, a code outside the map and a zero: only 6509/4 shows.
  std::ofstream(counts) << "code,count\r\n6509/4,7\r\n7000/1,5\r\n6508/1,0\r\n";
  const CommandResult draw =
      Map({"draw", "--nw", "6508", "--se", "6509", "--bmp", bmp, "--out", png, "--counts", counts,
           "--type", "Quadranten", "--cell-color", "clRed"});
  EXPECT_EQ(draw.exitStatus, 0);
  EXPECT_EQ(draw.err, "");
  const QImage map(QString::fromStdString(png));
  ASSERT_EQ(map.size(), QSize(500, 300));  // margins 100
  const QColor red(255, 0, 0);
  EXPECT_GT(testing::PixelsOfColor(map, red, QRect(400, 200, 100, 100)), 0);
  EXPECT_EQ(testing::PixelsOfColor(map, red, map.rect()),
            testing::PixelsOfColor(map, red, QRect(400, 200, 100, 100)));
}

TEST(VelmoraMap, BadInputIsRefusedWithAMessage) {
  const testing::TempFolder folder;
  const std::string missing = folder.PathOf("missing.bmp");
  const std::string out = folder.PathOf("out.png");
  const std::string bmp = WhiteBmp(folder, 10, 10);
  const std::string unwritable = folder.PathOf("no/such/folder/out.png");
  // The white picture without its last row of pixels.
  const std::string cut = folder.PathOf("cut.bmp");
  std::filesystem::copy_file(bmp, cut);
  std::filesystem::resize_file(cut, std::filesystem::file_size(bmp) - 10 * 3 - 2);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", missing, "--out", out},
       1,
       "velmora-map: cannot load '" + missing + "' as a BMP background\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", cut, "--out", out},
       1,
       "velmora-map: cannot load '" + cut + "' as a BMP background\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", unwritable},
       1,
       "velmora-map: cannot write '" + unwritable + "': No such file or directory\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--out", out},
       2,
       "velmora-map: option '--bmp' is missing\n"},
      {{"draw", "--nw", "6508", "--se", "6607", "--bmp", missing, "--out", out},
       2,
       "velmora-map: the south-east sheet 6607 lies west of the north-west sheet 6508\n"},
      {{"draw", "--nw", "65", "--se", "6609"},
       2,
       "velmora-map: '65' is not a sheet number (four digits, or W and four digits)\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", out, "--font-size", "abc"},
       2,
       "velmora-map: --font-size takes a font size in points from 1 to 1000, not 'abc'\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", out, "--font-size", "-3"},
       2,
       "velmora-map: --font-size takes a font size in points from 1 to 1000, not '-3'\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", out, "--font-size", "1001"},
       2,
       "velmora-map: --font-size takes a font size in points from 1 to 1000, not '1001'\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", out, "--counts", missing,
        "--type", "1", "--cell-font-size", "0"},
       2,
       "velmora-map: --cell-font-size takes a font size in points from 1 to 1000, not '0'\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", out, "--color", "12pt"},
       2,
       "velmora-map: --color: '12pt' is not a colour; give $00BBGGRR (blue, green and red in "
       "hexadecimal) or one of the names clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, "
       "clTeal, clGray, clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite, "
       "clMoneyGreen, clSkyBlue, clCream, clMedGray, clScrollBar, clBackground, clActiveCaption, "
       "clInactiveCaption, clMenu, clWindow, clWindowFrame, clMenuText, clWindowText, "
       "clCaptionText, clActiveBorder, clInactiveBorder, clAppWorkSpace, clHighlight, "
       "clHighlightText, clBtnFace, clBtnShadow, clGrayText, clBtnText, clInactiveCaptionText, "
       "clBtnHighlight, cl3DDkShadow, cl3DLight, clInfoText, clInfoBk, clHotLight, "
       "clGradientActiveCaption, clGradientInactiveCaption, clMenuHighlight, clMenuBar, clNone, "
       "clDefault\n"},
      {{"draw", "--nw", "6508", "--nw", "6609"}, 2, "velmora-map: option '--nw' given twice\n"},
      {{"draw", "--nw"}, 2, "velmora-map: option '--nw' needs a value\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--type", "1"},
       2,
       "velmora-map: --type belongs to --counts\n"},
      {{"draw", "--nw", "6508", "--se", "6609", "--measure", "records"},
       2,
       "velmora-map: --measure belongs to --counts\n"},
      {{"background", "--nw", "6508", "--se", "6609", "--out", out, "--sheet-size", "0"},
       2,
       "velmora-map: --sheet-size must be a number of pixels from 1 to 2000, not '0'\n"},
  };
  for (const auto& c : cases) {
    const CommandResult r = Map(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.message;
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.out, "") << c.message;
  }
  EXPECT_FALSE(std::filesystem::exists(out)) << "nothing was written";
  EXPECT_EQ(Map({"paint"}).exitStatus, 2);
}

// What is not a regular file, as an input, is refused at once: a FIFO would
// wait for a writer for ever.
TEST(VelmoraMap, InputsThatAreNoRegularFilesAreRefusedWithoutWaiting) {
  const testing::TempFolder folder;
  const std::string fifo = folder.PathOf("fifo.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string bmp = WhiteBmp(folder, 40, 20);
  const std::string out = folder.PathOf("out.png");
  const std::string db = folder.PathOf("any.db");  // refused before it is opened
  testing::WriteFileBytes(db, "");
  const std::vector<std::string> extent = {"--nw", "6508", "--se", "6509"};
  const struct {
    std::vector<std::string> args;
    std::string option;
  } cases[] = {
      {{"draw", "--bmp", fifo, "--out", out}, "--bmp"},
      {{"draw", "--bmp", bmp, "--counts", fifo, "--type", "1", "--out", out}, "--counts"},
      {{"map", "--db", db, "--system", "QYX", "--type", "1", "--bmp", fifo, "--out", out}, "--bmp"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"10", VELMORA_MAP_PATH};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), extent.begin(), extent.end());
    const CommandResult r = testing::RunCommand("/usr/bin/timeout", args);
    EXPECT_EQ(r.exitStatus, 2) << c.args[0] << " " << c.option;
    EXPECT_EQ(
        r.err.rfind("velmora-map: " + c.option + " '" + fifo + "' is not a regular file\n", 0), 0u)
        << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

// A counts file is read as an editor may have saved it, beginning with a byte
// order mark, and minute fields outside the map fit their grid type and are
// passed over. A line that is no CODE<TAB>COUNT, a CSV without the measure's
// column, a count of a million digits (none, and it would take minutes and
// gigabytes to draw) and codes of another grid type are refused, naming the
// fault, and no picture is written.
TEST(VelmoraMap, CountsFilesAreReadOrRefusedNamingTheFault) {
  const testing::TempFolder folder;
  const std::string bmp = WhiteBmp(folder, 400, 200);
  const std::string png = folder.PathOf("map.png");
  const std::string counts = folder.PathOf("counts.txt");
  const std::string huge(1'000'000, '7');
  const struct {
    std::string text;
    const char* type;
    int status;
    std::string err;
  } cases[] = {
      {"\xEF\xBB\xBF"
       "6509/4\t7\n",
       "1", 0, ""},
      {"\xEF\xBB\xBF"
       "code,taxa,records\r\n6509/4,7,9\r\n",
       "1", 0, ""},
      {"6509/4\t2147483647\n", "1", 0, ""},
      {"6508/435\t7\n7000/111\t5\n", "4", 0, ""},
      {"6509/4\t" + huge + "\n", "1", 1,
       "velmora-map: " + counts + ":1: the count '" + huge.substr(0, 60) +
           "...' has more digits than any count can have (10)\n"},
      {"6508/1 7\n", "1", 1,
       "velmora-map: " + counts + ":1: expected CODE<TAB>COUNT, not '6508/1 7'\n"},
      {"6508/1\tseven\n", "1", 1,
       "velmora-map: " + counts + ":1: expected CODE<TAB>COUNT, not '6508/1\tseven'\n"},
      {"code,latitude,longitude\n6508/1,49.4751,7.0417\n", "1", 1,
       "velmora-map: the counts file '" + counts +
           "' has no columns code and taxa in its header 'code,latitude,longitude'\n"},
      {"6508/1\t7\n6508/2\t3\n6509/4\t1\n6510/2\t1\n6608/1\t2\n6609/1\t2\n6609/3\t9\n",
       "Minutenfelder", 2,
       "velmora-map: the counts file '" + counts +
           "' has codes that are no cells of Minutenfelder: 6508/1, 6508/2, 6509/4, 6510/2, "
           "6608/1 and 2 more (give --type the grid type the counts were made for)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    testing::WriteFileBytes(counts, c.text);
    std::filesystem::remove(png);
    const CommandResult r = Map({"draw", "--nw", "6508", "--se", "6509", "--bmp", bmp, "--out", png,
                                 "--counts", counts, "--type", c.type});
    EXPECT_EQ(r.exitStatus, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, c.status == 0 ? png + ": 500 x 300 pixels\n" : "");
    EXPECT_EQ(std::filesystem::exists(png), c.status == 0);
  }
}

// A path is bytes: a background in a folder named in Latin-1 loads as well.
TEST(VelmoraMap, ABackgroundWhosePathIsNotUtf8Loads) {
  const testing::TempFolder folder;
  const std::string bmp = folder.PathOf("Gr\xFCnland.bmp");
  std::filesystem::rename(WhiteBmp(folder, 40, 20), bmp);
  const std::string png = folder.PathOf("map.png");
  const CommandResult draw =
      Map({"draw", "--nw", "6508", "--se", "6509", "--bmp", bmp, "--out", png});
  EXPECT_EQ(draw.exitStatus, 0) << draw.err;
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(50, 30));
}

// The CSV of velmora-count count gives taxa and records: --measure picks the
// column, and the picture is the one of a tab-separated file of that column.
TEST(VelmoraMap, ReadsTheColumnOfTheMeasureFromCountCsv) {
  const testing::TempFolder folder;
  const std::string bmp = WhiteBmp(folder, 400, 200);
  const std::string csv = folder.PathOf("counts.csv");
  std::ofstream(csv) << "code,taxa,records,latitude,longitude\n"
                        "6508/1,7,19,49.4751,7.0417\n6509/4,3,5,49.4251,7.2917\n";
  const auto draw = [&](const std::string& counts, const std::string& png,
                        std::vector<std::string> more) {
    std::vector<std::string> args = {"draw",  "--nw",   "6508",      "--se", "6509",
                                     "--bmp", bmp,      "--out",     png,    "--counts",
                                     counts,  "--type", "Quadranten"};
    args.insert(args.end(), more.begin(), more.end());
    const CommandResult r = Map(args);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return testing::ReadFileBytes(png);
  };
  const std::string taxa = folder.PathOf("taxa.tsv");
  std::ofstream(taxa) << "6508/1\t7\n6509/4\t3\n";
  const std::string records = folder.PathOf("records.tsv");
  std::ofstream(records) << "6508/1\t19\n6509/4\t5\n";
  EXPECT_EQ(draw(csv, folder.PathOf("a.png"), {}), draw(taxa, folder.PathOf("b.png"), {}));
  EXPECT_EQ(draw(csv, folder.PathOf("c.png"), {"--measure", "records"}),
            draw(records, folder.PathOf("d.png"), {}));
  EXPECT_NE(testing::ReadFileBytes(folder.PathOf("a.png")),
            testing::ReadFileBytes(folder.PathOf("c.png")));
}

TEST(VelmoraMap, AnOutputThatNamesAnInputIsRefusedAndTheInputKept) {
  const testing::TempFolder folder;
  const std::string bmp = WhiteBmp(folder, 400, 200);
  const std::string bmpBytes = testing::ReadFileBytes(bmp);
  const std::string counts = folder.PathOf("counts.tsv");
  std::ofstream(counts) << "6508/1\t7\n";
  const std::string link = folder.PathOf("link.png");
  std::filesystem::create_symlink(bmp, link);
  std::filesystem::create_directory(folder.PathOf("sub"));
  const std::string roundabout = folder.PathOf("sub/../white.bmp");
  const std::string hardLink = folder.PathOf("hard.bmp");
  std::filesystem::create_hard_link(bmp, hardLink);
  const std::vector<std::string> draw = {"draw", "--nw", "6508", "--se", "6509", "--bmp", bmp};
  const struct {
    std::vector<std::string> more;
    std::string out;
    std::string input;
    std::string inputFile;
  } cases[] = {
      {{}, bmp, "--bmp", bmp},
      {{}, link, "--bmp", bmp},
      {{}, roundabout, "--bmp", bmp},
      {{}, hardLink, "--bmp", bmp},
      {{"--counts", counts, "--type", "1"}, counts, "--counts", counts},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = draw;
    args.insert(args.end(), c.more.begin(), c.more.end());
    args.insert(args.end(), {"--out", c.out});
    const CommandResult r = Map(args);
    EXPECT_EQ(r.exitStatus, 2) << c.out;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "velmora-map: --out '" + c.out + "' names the " + c.input + " file '" +
                         c.inputFile + "', which it would overwrite; choose another --out\n");
  }
  EXPECT_EQ(testing::ReadFileBytes(bmp), bmpBytes);
  EXPECT_EQ(testing::ReadFileBytes(counts), "6508/1\t7\n");
}

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// More than 500 megapixels, judged from the header or the extent before
// anything is loaded, drawn or written, is refused unless forced. Forced, the
// loading refuses the file cut short, and a background larger than a BMP file
// can be is refused; the old file stays and no temporary is left.
TEST(VelmoraMap, APictureOfMoreThan500MegapixelsNeedsForce) {
  const testing::TempFolder folder;
  const std::string bmp = testing::SaveBmpDeclaringSize(30000, 20000, folder, "huge.bmp");
  const std::string land = folder.PathOf("land.bmp");
  std::ofstream(land) << "the old background";
  const struct {
    std::vector<std::string> args;
    std::string refused;
    std::string forced;
  } cases[] = {
      {{"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", folder.PathOf("map.png")},
       "velmora-map: the picture would be 37500 x 27500 pixels (1032 megapixels, more than 500); "
       "give --force to make it all the same\n",
       "velmora-map: cannot load '" + bmp + "' as a BMP background\n"},
      {{"background", "--nw", "W0001", "--se", "9999", "--out", land},
       "velmora-map: the picture would be 39800 x 20000 pixels (796 megapixels, more than 500); "
       "give --force to make it all the same\n",
       "velmora-map: a background of 39800 x 20000 pixels is larger than a BMP file can be; "
       "choose a smaller --sheet-size\n"},
  };
  for (const auto& c : cases) {
    const CommandResult refused = Map(c.args);
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, c.refused);
    std::vector<std::string> forced = c.args;
    forced.push_back("--force");
    const CommandResult tried = Map(forced);
    EXPECT_EQ(tried.exitStatus, 1);
    EXPECT_EQ(tried.err, c.forced);
  }
  EXPECT_EQ(testing::ReadFileBytes(land), "the old background");
  EXPECT_EQ(FilesIn(folder.PathOf("")), 2u) << "no temporary file is left";
}

TEST(VelmoraMap, HelpGoesToStandardOutputWithStatusZeroWithoutADisplay) {
  const CommandResult help = Map({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: velmora-map ", 0), 0u) << help.out;
  for (const char* word : {"draw", "background", "--cell-font-size", "$00BBGGRR", "Exit status"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  EXPECT_EQ(Map({"-h"}).out, help.out);
  EXPECT_EQ(Map({"draw", "--font-size", "abc", "--help"}).out, help.out);

  const CommandResult none = Map({});
  EXPECT_EQ(none.exitStatus, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err.rfind("usage: velmora-map ", 0), 0u) << none.err;
}

TEST(VelmoraMap, AFailedWriteKeepsTheOldPictureAndLeavesNoTemporary) {
  const testing::TempFolder folder;
  const std::string bmp = WhiteBmp(folder, 400, 400);
  const std::string png = folder.PathOf("map.png");
  const std::string land = folder.PathOf("land.bmp");
  std::ofstream(png) << "the old map";
  std::ofstream(land) << "the old background";

  // As on a full disk: no file may grow beyond 1000 bytes.
  const auto limited = [](std::vector<std::string> args) {
    args.insert(args.begin(), {"--fsize=1000", "--", VELMORA_MAP_PATH});
    return testing::RunCommand("/usr/bin/prlimit", args);
  };
  const CommandResult draw =
      limited({"draw", "--nw", "6508", "--se", "6609", "--bmp", bmp, "--out", png});
  EXPECT_EQ(draw.exitStatus, 1);
  EXPECT_EQ(draw.err, "velmora-map: cannot write '" + png + "': File too large\n");
  const CommandResult background =
      limited({"background", "--nw", "6508", "--se", "6609", "--out", land});
  EXPECT_EQ(background.exitStatus, 1);
  EXPECT_EQ(background.err, "velmora-map: cannot write '" + land + "': File too large\n");
  EXPECT_EQ(testing::ReadFileBytes(png), "the old map");
  EXPECT_EQ(testing::ReadFileBytes(land), "the old background");
  EXPECT_EQ(FilesIn(folder.PathOf("")), 3u) << "no temporary file is left";
}

}  // namespace
}  // namespace velmora
