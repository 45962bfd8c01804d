#include "count/streamed_assignment.h"

#include <optional>
#include <string>
#include <string_view>

#include "count/background_conversion.h"
#include "count/buffered_writer.h"
#include "count/count_sql.h"
#include "count/grid_references.h"
#include "count/key_progress.h"
#include "count/large_blocks.h"
#include "count/map_cells.h"
#include "platform/errors.h"

namespace velmora {
namespace {

// The samples in the byte order of their keys, so that they can be found by
// key and the bar can follow the keys.
std::string SamplesSql(const YearRange& years) {
  return "SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG FROM "
         "SAMPLE WHERE LAT IS NOT NULL" +
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
  streaming.Stream(
      "SELECT SURVEY_EVENT_KEY FROM SURVEY_EVENT WHERE SURVEY_KEY IN " + std::string(surveyList),
      [&](const StreamedRow& row) {
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
    if (samples.Size() > 0 && samples.Key(samples.Size() - 1) == row.Text(0)) {
      throw DatabaseError("UNIQUE constraint failed: sample_grid.sample_key");
    }
    const int sample = samples.Add(row.Text(0), -1);
    const std::string_view event = row.Text(1);
    const bool counted = !row.IsNull(1) && countedEvents_.Find(event) >= 0;
    const std::optional<std::string_view> system = TextOrNull(row, 3);
    const std::optional<std::string_view> reference = TextOrNull(row, 2);
    if (system == kQuadrantSystemCode || system == kMinuteFieldSystemCode) {
      const GridSystemInfo& info = *GridSystemByCode(*system);
      if (gridType_ && info.offersGridType[gridType_->item] && reference &&
          IsCellCodeOf(info, *reference)) {
        Keep(sample, counted,
             {*reference, *system, result_.samples.Key(sample), ValueOf(TextOrNull(row, 1)),
              *reference, *system, CoordinateOf(row, 4), CoordinateOf(row, 5)});
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

  // Writes the converted samples that got a code on one of the map's sheets.
  void WriteConverted(ProgressSink& progress) {
    conversion_.Finish();
    std::uint32_t begin = 0;
    for (size_t i = 0; i < pending_.size(); ++i) {
      const PendingSample& p = pending_[i];
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
    rows_.Flush();
    if (!pending_.empty()) progress.SetProgressPosition(100);
  }

  SampleCells Result() { return std::move(result_); }

 private:
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
  LargeText texts_;  // the events and references of the pending samples
  KeyIndex systems_;
};

}  // namespace

SampleCells AssignSampleCellsStreamed(DatabaseSession& session, StreamingAccess& streaming,
                                      const MapState& map, const GridTypeInfo* gridType,
                                      const YearRange& years, std::string_view surveyList,
                                      ProgressSink& progress) {
  const CountSql sql(SqlDialect::SQLite);
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Aufnahmen...");
  session.ExecuteNoRecords(sql.DropSampleGrid());
  session.ExecuteNoRecords(sql.CreateSampleGrid());
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
