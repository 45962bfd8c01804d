// The parts of the streamed count: key numbering, rows written in batches, the samples and
// occurrences found by key, the bar of an ordered pass, finding cells by code, and the work on
// the second core.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "count/large_blocks.h"
#include "count/streamed/background_batches.h"
#include "count/streamed/background_conversion.h"
#include "count/streamed/buffered_writer.h"
#include "count/streamed/key_index.h"
#include "count/streamed/key_progress.h"
#include "count/streamed/keyed_cells.h"
#include "count/streamed/map_cells.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"
#include "platform/message_box.h"

namespace velmora {
namespace {

TEST(KeyIndex, NumbersKeysInTheOrderTheyCameAndFindsThemAgain) {
  KeyIndex index;
  EXPECT_EQ(index.Add("VLMDEMO100000001"), 0);
  EXPECT_EQ(index.Add("A"), 1);
  EXPECT_EQ(index.Add("AB"), 2) << "a key that another begins with is a key of its own";
  EXPECT_EQ(index.Add(""), 3);
  EXPECT_EQ(index.Add("A"), 1) << "a key added again keeps its number";
  EXPECT_EQ(index.Find("AB"), 2);
  EXPECT_EQ(index.Find(""), 3);
  EXPECT_EQ(index.Find("ABC"), -1);
  EXPECT_EQ(index.Key(0), "VLMDEMO100000001");
  EXPECT_EQ(index.Size(), 4);
}

TEST(KeyIndex, GrowsPastItsFirstTableWithoutLosingAKey) {
  KeyIndex index;
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(index.Add("K" + std::to_string(i)), i);
  for (int i = 0; i < 100000; i += 7) ASSERT_EQ(index.Find("K" + std::to_string(i)), i);
  EXPECT_EQ(index.Find("K100000"), -1);
  EXPECT_EQ(index.Key(99999), "K99999");
}

// Keeps what each batch held when it was written, as a table would: a text
// as "t" and the text, a number as "n" and the number, a null as "-".
class RecordingStreaming final : public StreamingAccess {
 public:
  std::unique_ptr<RowWriter> PrepareWriter(const std::string&) override {
    return std::make_unique<Writer>(*this);
  }
  std::unique_ptr<HeldState> HoldState() override { return nullptr; }
  std::string ColumnCollation(const std::string&, const std::string&) override { return {}; }
  void Stream(const std::string&, const RowCallback&) override {}

  std::vector<std::string> written;
  std::vector<size_t> batchSizes;

 private:
  struct Writer final : RowWriter {
    explicit Writer(RecordingStreaming& streaming) : to(streaming) {}
    long long WriteRows(std::span<const RowValue> values) override {
      for (const RowValue& value : values) {
        if (const auto* text = std::get_if<std::string_view>(&value)) {
          to.written.push_back("t" + std::string(*text));
        } else if (const auto* number = std::get_if<double>(&value)) {
          to.written.push_back("n" + std::to_string(*number));
        } else {
          to.written.push_back("-");
        }
      }
      to.batchSizes.push_back(values.size());
      return static_cast<long long>(values.size());
    }
    RecordingStreaming& to;
  };
};

TEST(BufferedWriter, WritesEveryRowAsItWasAddedThoughTheCallersTextsAreGone) {
  RecordingStreaming streaming;
  std::vector<std::string> expected;
  {
    BufferedWriter writer(streaming, "INSERT INTO t VALUES (?, ?, ?)", 3);
    for (int i = 0; i < 10000; ++i) {
      // Texts of every length, a long one now and then, which live only
      // for the call, as a streamed row's do.
      std::string key = "K" + std::to_string(i) + std::string(static_cast<size_t>(i % 40), 'x');
      std::string text(i % 997 == 0 ? 300000 : static_cast<size_t>(i % 3), 'a' + i % 26);
      const RowValue row[] = {std::string_view(key),
                              i % 5 == 0 ? RowValue(std::monostate{}) : RowValue(double(i)),
                              std::string_view(text)};
      writer.Add(row);
      expected.push_back("t" + key);
      expected.push_back(i % 5 == 0 ? "-" : "n" + std::to_string(double(i)));
      expected.push_back("t" + text);
      key.assign(key.size(), '#');
      text.assign(text.size(), '#');
    }
    writer.Flush();
  }
  ASSERT_EQ(streaming.written.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(streaming.written[i], expected[i]) << i;
  for (const size_t size : streaming.batchSizes) EXPECT_EQ(size % 3, 0U) << "whole rows a batch";
  EXPECT_GT(streaming.batchSizes.size(), 3U) << "the long texts make batches end early";
}

TEST(BufferedWriter, ARowWhoseTextsExceedABatchIsWrittenWhole) {
  RecordingStreaming streaming;
  BufferedWriter writer(streaming, "INSERT INTO t VALUES (?, ?)", 2);
  const std::string small = "VLMDEMO100000001";
  const std::string huge(3 << 20, 'h');
  const RowValue first[] = {std::string_view(small), 1.0};
  const RowValue second[] = {std::string_view(huge), std::string_view(huge)};
  writer.Add(first);
  writer.Add(second);
  writer.Add(first);
  writer.Flush();
  ASSERT_EQ(streaming.written.size(), 6U);
  EXPECT_EQ(streaming.written[0], "t" + small);
  EXPECT_EQ(streaming.written[1], "n" + std::to_string(1.0));
  EXPECT_EQ(streaming.written[2], "t" + huge);
  EXPECT_EQ(streaming.written[3], "t" + huge);
  EXPECT_EQ(streaming.written[4], "t" + small);
}

TEST(LargeBlocks, ContainersKeepTheirContentsAsTheyGrowIntoMappedBlocks) {
  LargeVector<std::uint64_t> numbers;
  LargeText text;
  for (std::uint64_t i = 0; i < (std::uint64_t{3} << 20); ++i) {
    numbers.push_back(i * 7);
    if (i % 4 == 0) text += static_cast<char>('a' + i % 26);
  }
  for (std::uint64_t i = 0; i < numbers.size(); i += 4099) ASSERT_EQ(numbers[i], i * 7);
  for (size_t i = 0; i < text.size(); i += 4099) ASSERT_EQ(text[i], 'a' + i * 4 % 26);
  numbers.resize(10);
  numbers.shrink_to_fit();
  EXPECT_EQ(numbers.back(), 63U);
  const LargeVector<std::uint64_t> copy = numbers;
  EXPECT_EQ(copy, numbers);
}

TEST(KeyedCells, JoinKeepsEveryKeyAndCellOfEveryRange) {
  const auto addLater = [](KeyedCells& later) {
    later.Add("U1", 5);
    later.Add("U22", -1);
    later.Add("V", 9);
  };
  KeyedCells alone[2];
  addLater(alone[1]);
  const KeyedCells empty = KeyedCells::Join(alone);
  EXPECT_EQ(alone[1].Size(), 0) << "a range taken over is emptied";
  KeyedCells ranges[3];
  ranges[0].Add("A", 1);
  ranges[0].Add("BBBB", 2);
  addLater(ranges[2]);
  KeyedCells lower = KeyedCells::Join(ranges);
  for (const KeyedCells* cells : {&empty, static_cast<const KeyedCells*>(&lower)}) {
    const int first = cells->Size() - 3;
    EXPECT_EQ(cells->Key(first), "U1");
    EXPECT_EQ(cells->Key(first + 1), "U22");
    EXPECT_EQ(cells->Key(first + 2), "V");
    EXPECT_EQ(cells->CellOf(first + 1), -1);
    EXPECT_EQ(cells->CellOf(first + 2), 9);
    int near = 0;
    EXPECT_EQ(cells->Find("U22", near), first + 1);
  }
  ASSERT_EQ(lower.Size(), 5);
  EXPECT_EQ(lower.Key(1), "BBBB");
  EXPECT_EQ(lower.CellOf(0), 1);
  lower.Add("W", 3);
  EXPECT_EQ(lower.Key(5), "W") << "keys added after an append follow it";
}

TEST(KeyedCells, FindsEveryKeyFromAnyStartAndNoOtherKey) {
  KeyedCells ranges[2];
  std::vector<std::string> keys;
  for (int i = 0; i < 1000; ++i) {
    keys.push_back("T" + std::to_string(100000 + 3 * i));
    ranges[0].Add(keys.back(), i % 7 - 1);
  }
  ranges[1].Add("U", 41);
  KeyedCells occurrences = KeyedCells::Join(ranges);
  occurrences.Seal();
  ASSERT_EQ(occurrences.Size(), 1001);
  occurrences.SetCell(3, 17);
  EXPECT_EQ(occurrences.CellOf(3), 17);
  occurrences.SetCell(3, 3 % 7 - 1);
  EXPECT_EQ(occurrences.Key(1000), "U");
  for (const int start : {-5, 0, 1, 499, 998, 999, 1000, 5000}) {
    for (int i = 0; i < 1000; i += 37) {
      int near = start;
      ASSERT_EQ(occurrences.Find(keys[i], near), i) << "from " << start;
      EXPECT_EQ(near, i);
      EXPECT_EQ(occurrences.CellOf(i), i % 7 - 1);
      near = start;
      EXPECT_EQ(occurrences.Find("T" + std::to_string(100001 + 3 * i), near), -1)
          << "a key between two others, from " << start;
    }
    int near = start;
    EXPECT_EQ(occurrences.Find("U", near), 1000) << "the appended range follows";
    EXPECT_EQ(occurrences.CellOf(1000), 41);
    near = start;
    EXPECT_EQ(occurrences.Find("A", near), -1) << "before every key";
    near = start;
    EXPECT_EQ(occurrences.Find("V", near), -1) << "after every key";
  }
  int near = 0;
  EXPECT_EQ(KeyedCells().Find("T", near), -1) << "no occurrences at all";
}

TEST(KeyedCells, AKeyIsMarkedCountedOnceAcrossThreads) {
  KeyedCells occurrences;
  for (int i = 0; i < 200; ++i) EXPECT_EQ(occurrences.Add("K" + std::to_string(1000 + i), 0), i);
  occurrences.Seal();
  int first[2] = {0, 0};
  std::thread other([&] {
    for (int i = 0; i < 200; ++i) first[1] += occurrences.MarkCounted(i);
  });
  for (int i = 0; i < 200; ++i) first[0] += occurrences.MarkCounted(i);
  other.join();
  EXPECT_EQ(first[0] + first[1], 200);
  EXPECT_FALSE(occurrences.MarkCounted(63));
  EXPECT_FALSE(occurrences.MarkCounted(64));
}

TEST(KeyProgress, FollowsAscendingKeysFromTheFirstToTheLast) {
  const KeyProgress keys("VLMDEMO100000000", "VLMDEMO10000ZZZZ");
  EXPECT_EQ(keys.Percent("VLMDEMO100000000"), 0);
  EXPECT_EQ(keys.Percent("VLMDEMO10000ZZZZ"), 100);
  int last = 0;
  for (const char* key : {"VLMDEMO100001000", "VLMDEMO10000A000", "VLMDEMO10000K000",
                          "VLMDEMO10000T000", "VLMDEMO10000Z000"}) {
    const int percent = keys.Percent(key);
    EXPECT_GT(percent, last) << key;
    last = percent;
  }
  EXPECT_EQ(keys.Percent("ABC"), 0) << "before the range";
  EXPECT_EQ(keys.Percent("ZZZ"), 100) << "after the range";
  EXPECT_EQ(KeyProgress("", "").Percent("A"), 100) << "an empty table";
  EXPECT_EQ(KeyProgress("A", "A").Percent("A"), 100);
}

// The host counts its keys up in digits and capital letters. Half of the way
// must be about half of the keys, or the parts of a pass are far from equal.
TEST(KeyProgress, HalfOfTheWayIsHalfOfTheKeysOfACounter) {
  const auto keyOf = [](int counter) {
    constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string key = "VLMDEMO10000";
    for (int divisor = 36 * 36 * 36; divisor > 0; divisor /= 36) {
      key += kDigits[counter / divisor % 36];
    }
    return key;
  };
  for (const int last : {36 * 36 * 36 * 11 - 1, 36 * 36 * 36 * 36 - 1, 5000}) {
    const KeyProgress keys(keyOf(1), keyOf(last));
    const std::string split = keys.KeyAt(0.5);
    int below = 0;
    while (keyOf(below + 1) < split) ++below;
    EXPECT_NEAR(static_cast<double>(below) / last, 0.5, 0.02) << keyOf(last);
    EXPECT_NEAR(keys.Percent(keyOf(last / 4)), 25, 2) << keyOf(last);
  }
}

MapState Map(const std::string& nw, const std::string& se, int gridType, int gridSystem) {
  MapState map;
  BuildCellList({gridType, gridSystem, Extent::Read(nw, se), ""}, map);
  return map;
}

// Every cell of a map is found at its own position from its own code, and
// from longer codes that begin with it.
TEST(MapCells, FindsEveryCellOfEveryGridTypeByItsCode) {
  for (const GridTypeInfo& type : kGridTypes) {
    const int system = type.digits == CellDigits::MinuteField ? 0 : 1;
    const MapState map = Map("W5099", "5101", type.item, system);
    const MapCells cells(map);
    for (int row = 0; row < map.CellRows; ++row) {
      for (int column = 0; column < map.CellColumns; ++column) {
        const std::string& code = map.Grids[row][column].Code;
        ASSERT_EQ(cells.PositionOf(code), row * map.CellColumns + column) << code;
        ASSERT_TRUE(cells.HasSheetOf(code)) << code;
      }
    }
  }
}

TEST(MapCells, CodesAreCutToTheGridTypeAndChecked) {
  const MapState quadrants = Map("W5099", "5000", 1, 0);
  const MapCells cells(quadrants);
  EXPECT_EQ(cells.PositionOf("5000/423"), 7) << "cut to 5000/4: row 1 of 2, column 3 of 4";
  EXPECT_EQ(cells.PositionOf("W5099/1"), 0) << "a west code is cut one longer";
  EXPECT_EQ(cells.PositionOf("5000"), -1) << "a sheet is no quadrant";
  EXPECT_EQ(cells.PositionOf("5001/1"), -1) << "a sheet outside the map";
  EXPECT_EQ(cells.PositionOf("5000/5"), -1);
  EXPECT_EQ(cells.PositionOf("5000/x"), -1);
  EXPECT_TRUE(cells.HasSheetOf("5000"));
  EXPECT_TRUE(cells.HasSheetOf("W5099/999"));
  EXPECT_FALSE(cells.HasSheetOf("5001/1"));
  EXPECT_FALSE(cells.HasSheetOf(""));

  const MapState minutes = Map("5000", "5000", 4, 0);
  const MapCells minuteCells(minutes);
  EXPECT_EQ(minuteCells.PositionOf("5000/435"), 59);
  EXPECT_EQ(minuteCells.PositionOf("5000/444"), -1) << "no fourth row in a minute quadrant";
  EXPECT_EQ(minuteCells.PositionOf("5000/12"), -1) << "too short for a minute field";
}

TEST(BackgroundBatches, WorksOnBatchesInOrderOnItsThreadAndPassesErrorsOut) {
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id worker;
  BackgroundBatches<std::vector<int>> batches(
      [&](std::vector<int>& batch) {
        worker = std::this_thread::get_id();
        if (batch.empty()) throw std::runtime_error("an empty batch");
        for (int& n : batch) n *= 2;
      },
      true);
  batches.Hand(std::make_unique<std::vector<int>>(std::vector<int>{1, 2}));
  batches.Hand(std::make_unique<std::vector<int>>(std::vector<int>{3}));
  EXPECT_EQ(batches.Done(1), std::vector<int>{6});
  EXPECT_EQ(batches.Done(0), (std::vector<int>{2, 4}));
  EXPECT_NE(worker, caller);
  batches.Hand(std::make_unique<std::vector<int>>());
  EXPECT_THROW(batches.Done(2), std::runtime_error);
}

TEST(BackgroundBatches, WithoutAThreadEachBatchIsWorkedOnAsItIsHandedOver) {
  int worked = 0;
  BackgroundBatches<int> batches([&](int& n) { worked += n; }, false);
  batches.Hand(std::make_unique<int>(5));
  EXPECT_EQ(worked, 5);
  EXPECT_EQ(batches.Handed(), 1u);
  EXPECT_EQ(batches.Done(0), 5);
}

TEST(BackgroundBatches, StopsWithBatchesLeft) {
  BackgroundBatches<int> batches([](int&) { std::this_thread::yield(); }, true);
  for (int i = 0; i < 1000; ++i) batches.Hand(std::make_unique<int>(i));
}

// More points than one batch holds, each converted as the caller would. The
// caller converts only once the thread is done: the library is not to be
// called from two threads at once.
TEST(BackgroundConversion, GivesTheCodesOfThePointsInTheirOrder) {
  LoadGeodeticLibraryFrom("libGeoDLL32.so");
  RecordingMessageSink messages;
  BackgroundConversion conversion("QYX");
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 5000; ++i) points.emplace_back(47.3 + i * 0.001, 5.9 + (i % 997) * 0.005);
  for (const auto& [latitude, longitude] : points) conversion.Add(latitude, longitude);
  conversion.Finish();
  ASSERT_EQ(conversion.Size(), points.size());
  std::vector<std::string> codes;
  for (size_t i = points.size(); i-- > 0;) codes.insert(codes.begin(), conversion.Code(i));
  for (size_t i = 0; i < points.size(); i += 97) {
    EXPECT_EQ(codes[i], CoordinateToCellCode("QYX", points[i].first, points[i].second));
  }
  EXPECT_TRUE(messages.Shown().empty());
}

// Without the library every conversion shows its messages, and those belong
// to the caller's thread: the points are converted there, when handed over.
TEST(BackgroundConversion, WithoutTheLibraryConvertsOnTheCallersThread) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  messages.Clear();
  BackgroundConversion conversion("QQQ");
  conversion.Add(50.0, 7.0);
  conversion.Add(51.0, 8.0);
  conversion.Finish();
  EXPECT_EQ(messages.Shown().size(), 4u) << "shown by now, so on this thread";
  EXPECT_EQ(conversion.Code(1), "");
  LoadGeodeticLibraryFrom("libGeoDLL32.so");
}

}  // namespace
}  // namespace velmora
