#include "count/streamed/streamed_assignment.h"

#include <optional>
#include <string>
#include <string_view>

#include "count/grid_references.h"
#include "count/large_blocks.h"
#include "count/record_rule.h"
#include "count/sample_table.h"
#include "count/streamed/background_conversion.h"
#include "count/streamed/buffered_writer.h"
#include "count/streamed/key_progress.h"
#include "count/streamed/map_cells.h"

namespace velmora {
namespace {

// The samples in the byte order of their keys, so that they can be found by
// key and the bar can follow the keys.
std::string SamplesSql(const YearRange& years) {
  return "SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG, "
         "VAGUE_DATE_START, VAGUE_DATE_END FROM SAMPLE WHERE LAT IS NOT NULL" +
         YearLimitsSql(years) + " ORDER BY SAMPLE_KEY COLLATE BINARY";
}

constexpr const char* kInsertSample =
    "INSERT INTO sample_grid (grid, gridtype, sample_key, SURVEY_EVENT_KEY, SPATIAL_REF, "
    "SPATIAL_REF_SYSTEM, LAT, Long) VALUES (?, ?, ?, ?, ?, ?, ?, ?)";
constexpr size_t kSampleColumns = 8;

// The bar moves after this many rows.
constexpr size_t kProgressRows = 4096;

std::optional<std::string_view> TextOrNull(const StreamedRow& row, int column) {
  if (row.IsNull(column)) return std::nullopt;
  return row.Text(column);
}

RowValue ValueOf(std::optional<std::string_view> text) {
  return text ? RowValue(*text) : RowValue(std::monostate{});
}

// A coordinate as the sample table's float column would take it: a number,
// or a text that is none as it stands.
RowValue CoordinateOf(const StreamedRow& row, int column) {
  if (const std::optional<double> number = row.Number(column)) return *number;
  return ValueOf(TextOrNull(row, column));
}

// The survey events of the chosen surveys, as the selection joins them.
KeyIndex CountedEvents(StreamingAccess& streaming, std::string_view surveyList) {
  KeyIndex events;
  streaming.Stream(CountedEventsSql(surveyList), [&](const StreamedRow& row) {
    if (!row.IsNull(0)) events.Add(row.Text(0));
  });
  return events;
}

// A sample to convert, kept until its code is known; its texts stand one
// after the other in a block of characters.
struct PendingSample {
  std::int32_t sample;
  std::int32_t system;  // number in the systems' index, -1 for none
  std::uint32_t eventEnd;
  std::uint32_t referenceEnd;
  bool hasEvent;
  bool hasReference;
  bool counted;
  double latitude;
  double longitude;
};

// A value of a taken-over sample's row; a text stands in a block of
// characters of its own.
struct KeptValue {
  enum class Kind : std::uint8_t { Null, Number, Text } kind = Kind::Null;
  double number = 0;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

// A sample whose reference is taken over as its code, kept until the
// converted samples before it are written: the sample table takes its rows
// fastest in the order of its key.
struct TakenOverSample {
  std::int32_t sample;
  bool counted;
  KeptValue event;
  KeptValue reference;
  KeptValue system;
  KeptValue latitude;
  KeptValue longitude;
};

class Assignment {
 public:
  Assignment(StreamingAccess& streaming, const MapState& map, const GridTypeInfo* gridType,
             KeyIndex countedEvents)
      : map_(map),
        gridType_(gridType),
        countedEvents_(std::move(countedEvents)),
        cells_(map),
        conversion_(map.GridSystemCode),
        rows_(streaming, kInsertSample, kSampleColumns) {}

  // One sample as it is read: a reference of an admitted system that is one of
  // its cell codes is taken over and written at once; a sample of any other
  // system, or of none, waits for its conversion. A "QQQ" or "QYX" sample is
  // never converted.
  void Read(const StreamedRow& row) {
    KeyedCells& samples = result_.samples;
    // As the sample table's primary key would refuse it.
    if (row.IsNull(0)) throw SampleWithoutKeyError();
    if (samples.Size() > 0 && samples.Key(samples.Size() - 1) == row.Text(0)) {
      throw SampleKeyTwiceError(row.Text(0));
    }
    const int sample = samples.Add(row.Text(0), -1);
    result_.years.push_back(SampleYears(row.Number(6), row.Number(7)));
    const std::string_view event = row.Text(1);
    const bool counted = !row.IsNull(1) && countedEvents_.Find(event) >= 0;
    const std::optional<std::string_view> system = TextOrNull(row, 3);
    const std::optional<std::string_view> reference = TextOrNull(row, 2);
    if (system == kQuadrantSystemCode || system == kMinuteFieldSystemCode) {
      const GridSystemInfo& info = *GridSystemByCode(*system);
      if (gridType_ && info.offersGridType[gridType_->item] && reference &&
          IsCellCodeOf(info, *reference) && cells_.HasSheetOf(*reference)) {
        takenOver_.push_back({sample, counted, KeepValue(ValueOf(TextOrNull(row, 1))),
                              KeepValue(*reference), KeepValue(*system),
                              KeepValue(CoordinateOf(row, 4)), KeepValue(CoordinateOf(row, 5))});
      }
      return;
    }
    const std::optional<double> latitude = row.Number(4);
    const std::optional<double> longitude = row.Number(5);
    // Without both numbers the sample lies nowhere: no code, removed.
    if (!latitude || !longitude) return;
    texts_.append(event);
    const auto eventEnd = static_cast<std::uint32_t>(texts_.size());
    if (reference) texts_.append(*reference);
    pending_.push_back({sample, system ? systems_.Add(*system) : -1, eventEnd,
                        static_cast<std::uint32_t>(texts_.size()), !row.IsNull(1),
                        reference.has_value(), counted, *latitude, *longitude});
    conversion_.Add(*latitude, *longitude);
  }

  // Writes the converted samples that got a code on one of the map's sheets,
  // and the taken-over ones, all in the order of their keys.
  void WriteConverted(ProgressSink& progress) {
    conversion_.Finish();
    std::uint32_t begin = 0;
    size_t nextTakenOver = 0;
    for (size_t i = 0; i < pending_.size(); ++i) {
      const PendingSample& p = pending_[i];
      nextTakenOver = WriteTakenOver(nextTakenOver, p.sample);
      const std::string_view texts(texts_);
      const std::string_view event = texts.substr(begin, p.eventEnd - begin);
      const std::string_view reference = texts.substr(p.eventEnd, p.referenceEnd - p.eventEnd);
      begin = p.referenceEnd;
      const std::string& code = conversion_.Code(i);
      if (!code.empty()) {
        Keep(p.sample, p.counted,
             {code, map_.GridSystemCode, result_.samples.Key(p.sample),
              p.hasEvent ? RowValue(event) : RowValue(std::monostate{}),
              p.hasReference ? RowValue(reference) : RowValue(std::monostate{}),
              p.system < 0 ? RowValue(std::monostate{}) : RowValue(systems_.Key(p.system)),
              p.latitude, p.longitude});
      }
      if ((i + 1) % kProgressRows == 0) {
        progress.SetProgressPosition(static_cast<int>((i + 1) * 100 / pending_.size()));
      }
    }
    WriteTakenOver(nextTakenOver, result_.samples.Size());
    rows_.Flush();
    if (!pending_.empty()) progress.SetProgressPosition(100);
  }

  SampleCells Result() { return std::move(result_); }

 private:
  KeptValue KeepValue(const RowValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
      return {KeptValue::Kind::Number, *number};
    }
    const auto* text = std::get_if<std::string_view>(&value);
    if (!text) return {};
    const auto begin = static_cast<std::uint32_t>(takenOverTexts_.size());
    takenOverTexts_.append(*text);
    return {KeptValue::Kind::Text, 0, begin, static_cast<std::uint32_t>(takenOverTexts_.size())};
  }

  RowValue ValueOfKept(const KeptValue& value) const {
    switch (value.kind) {
      case KeptValue::Kind::Number:
        return value.number;
      case KeptValue::Kind::Text:
        return std::string_view(takenOverTexts_).substr(value.begin, value.end - value.begin);
      case KeptValue::Kind::Null:
        break;
    }
    return std::monostate{};
  }

  // Writes the taken-over samples from `next` on that come before sample
  // `before`; returns the first one left.
  size_t WriteTakenOver(size_t next, int before) {
    for (; next < takenOver_.size() && takenOver_[next].sample < before; ++next) {
      const TakenOverSample& t = takenOver_[next];
      const RowValue reference = ValueOfKept(t.reference);
      const RowValue system = ValueOfKept(t.system);
      Keep(t.sample, t.counted,
           {reference, system, result_.samples.Key(t.sample), ValueOfKept(t.event), reference,
            system, ValueOfKept(t.latitude), ValueOfKept(t.longitude)});
    }
    return next;
  }

  // A sample whose code (the row's first value) lies on one of the map's
  // sheets stays in the table, and counts in the cell its code names when its
  // survey is counted.
  void Keep(int sample, bool counted, const RowValue (&row)[kSampleColumns]) {
    const std::string_view code = std::get<std::string_view>(row[0]);
    if (!cells_.HasSheetOf(code)) return;
    rows_.Add(row);
    if (counted) result_.samples.SetCell(sample, cells_.PositionOf(code));
  }

  const MapState& map_;
  const GridTypeInfo* gridType_;
  const KeyIndex countedEvents_;
  MapCells cells_;
  BackgroundConversion conversion_;
  BufferedWriter rows_;
  SampleCells result_;
  LargeVector<PendingSample> pending_;
  LargeVector<TakenOverSample> takenOver_;
  LargeText takenOverTexts_;  // the texts of the taken-over samples
  LargeText texts_;           // the events and references of the pending samples
  KeyIndex systems_;
};

}  // namespace

// A day outside the years a count knows is no date.
std::uint32_t SampleYears(std::optional<double> startDay, std::optional<double> endDay) {
  const auto year = [](std::optional<double> day) -> std::optional<int> {
    if (!day || !(*day >= FirstDayOfYear(kFirstYear) && *day <= LastDayOfYear(kLastYear))) {
      return std::nullopt;
    }
    return YearOfDay(static_cast<int>(*day));
  };
  std::optional<int> first = year(startDay);
  std::optional<int> last = year(endDay);
  if (!first) first = last;
  if (!last) last = first;
  if (!first) return 0;
  return static_cast<std::uint32_t>(*first) << 16 | static_cast<std::uint32_t>(*last);
}

SampleCells AssignSampleCellsStreamed(DatabaseSession& session, StreamingAccess& streaming,
                                      const MapState& map, const GridTypeInfo* gridType,
                                      const YearRange& years, std::string_view surveyList,
                                      ProgressSink& progress) {
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Aufnahmen...");
  session.ExecuteNoRecords(DropSampleTableSql(SqlDialect::SQLite));
  session.ExecuteNoRecords(CreateSampleTableSql(SqlDialect::SQLite));
  const KeyProgress keys = KeyProgressOf(session, "SAMPLE", "SAMPLE_KEY");

  Assignment assignment(streaming, map, gridType, CountedEvents(streaming, surveyList));
  size_t read = 0;
  streaming.Stream(SamplesSql(years), [&](const StreamedRow& row) {
    assignment.Read(row);
    if (++read % kProgressRows == 0) progress.SetProgressPosition(keys.Percent(row.Text(0)));
  });

  progress.SetProgressPosition(0);
  progress.SetProgressText("Errechne Raster...");
  assignment.WriteConverted(progress);

  // The samples without a code or outside the map's sheets were never written.
  progress.SetProgressPosition(0);
  progress.SetProgressText("Entferne überflüssige Raster...");
  for (const int percent : {25, 50, 75, 100}) progress.SetProgressPosition(percent);
  return assignment.Result();
}

}  // namespace velmora
