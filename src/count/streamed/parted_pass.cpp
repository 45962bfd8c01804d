#include "count/streamed/parted_pass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <thread>
#include <vector>

#include "count/sql_text.h"
#include "count/streamed/key_progress.h"

namespace velmora {
namespace {

// The bar moves after this many rows, and while this thread waits for the
// other worker after this time.
constexpr size_t kProgressRows = 65536;
constexpr std::chrono::milliseconds kWaitStep{200};
// How far the workers have come through the keys' range, in these units.
constexpr int kRangeUnits = 10000;

// Ends a worker's reading when the pass has stopped without it.
struct PassStopped {};

// The parts of a pass, at equal shares of the keys' range, and the workers'
// progress through them.
class Pass {
 public:
  Pass(DatabaseSession& session, const PartedPass& pass, int from, int to)
      : pass_(pass),
        keys_(KeyProgressOf(session, pass.table.table, pass.table.key)),
        from_(from),
        to_(to),
        shown_(from) {
    starts_.push_back(0);
    for (int part = 1; part < kPassParts; ++part) {
      bounds_.push_back(keys_.KeyAt(static_cast<double>(part) / kPassParts));
      starts_.push_back(Units(bounds_.back()));
    }
    starts_.push_back(kRangeUnits);
  }

  // Reads the next part left until there is none or the pass has stopped.
  // The calling thread's worker also moves the bar.
  void Work(int worker, RowReader& reader, ProgressSink* progress) {
    size_t rows = 0;
    for (int part; !stopped_ && (part = next_++) < kPassParts;) {
      reader.Stream(pass_.sql(RangeOf(part)), [&](const StreamedRow& row) {
        if (++rows % kProgressRows == 0) {
          if (stopped_) throw PassStopped();
          reading_[worker] = std::max(0, Units(row.Text(pass_.keyColumn)) - starts_[part]);
          if (progress) ShowBar(*progress);
        }
        pass_.read(worker, part, row);
      });
      read_ += starts_[part + 1] - starts_[part];
      reading_[worker] = 0;
    }
    if (!stopped_) pass_.done(worker);
  }

  void Stop() { stopped_ = true; }

  // The bar never goes back, though a part's share moves from the worker's
  // reading to the parts read in two steps.
  void ShowBar(ProgressSink& progress) {
    int units = read_;
    for (const std::atomic<int>& reading : reading_) units += reading;
    units = std::min(kRangeUnits, units);
    shown_ = std::max(shown_, from_ + (to_ - from_) * units / kRangeUnits);
    progress.SetProgressPosition(shown_);
  }

 private:
  int Units(std::string_view key) const {
    return static_cast<int>(keys_.FractionOf(key) * kRangeUnits);
  }

  std::string RangeOf(int part) const {
    const std::string key = " AND " + std::string(pass_.table.key) + " COLLATE BINARY ";
    std::string range;
    if (part > 0) range += key + ">= " + QuoteSqlText(bounds_[part - 1]);
    if (part + 1 < kPassParts) range += key + "< " + QuoteSqlText(bounds_[part]);
    return range;
  }

  const PartedPass& pass_;
  const KeyProgress keys_;
  std::vector<std::string> bounds_;  // where each part after the first begins
  std::vector<int> starts_;          // the share of the range before each part, and the end
  std::atomic<int> next_ = 0;
  std::atomic<bool> stopped_ = false;
  std::atomic<int> read_ = 0;                    // the shares of the parts read
  std::atomic<int> reading_[kPassWorkers] = {};  // of the part each worker reads
  const int from_;
  const int to_;
  int shown_;
};

}  // namespace

void ReadInParts(DatabaseSession& session, StreamingAccess& streaming, RowReader& beside,
                 const PartedPass& pass, ProgressSink& progress, int from, int to) {
  Pass parts(session, pass, from, to);
  std::exception_ptr besideError;
  std::promise<void> besideEnded;
  std::future<void> ended = besideEnded.get_future();
  std::jthread second([&] {
    try {
      parts.Work(1, beside, nullptr);
    } catch (const PassStopped&) {
    } catch (...) {
      besideError = std::current_exception();
      parts.Stop();
    }
    besideEnded.set_value();
  });
  try {
    parts.Work(0, streaming, &progress);
  } catch (const PassStopped&) {
    // The other worker failed; its error passes out below.
  } catch (...) {
    parts.Stop();
    throw;
  }
  // The bar goes on with the other worker's part while it is read.
  while (ended.wait_for(kWaitStep) == std::future_status::timeout) parts.ShowBar(progress);
  if (besideError) std::rethrow_exception(besideError);
}

}  // namespace velmora
