#include "demo/demo_database.h"

#include <chrono>
#include <optional>

#include "demo/batch_inserter.h"
#include "demo/demo_keys.h"
#include "demo/demo_names.h"
#include "demo/demo_places.h"
#include "demo/demo_schema.h"
#include "demo/demo_taxa.h"
#include "platform/db/connection_string.h"
#include "platform/db/database_session.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::demo {

namespace {

// The site id of the records made by this demo.
constexpr const char* kSite = "VLMDEMO1";
// The host's sample types: field observation, trap, literature.
constexpr const char* kSampleTypes[] = {"NBNSYS0000000001", "NBNSYS0000000004", "NBNSYS0000000007"};
// Each survey's main taxon group, by the survey names' order.
constexpr int kSurveyGroups[] = {0, 1, 2, 3, 8, 0, 6, 5, 4, 7, 9, 10};

using Days = std::chrono::sys_days;

// The host's day numbers count from 30 December 1899.
int DayNumber(Days day) { return static_cast<int>(day.time_since_epoch().count()) + 25569; }

std::string DateTimeText(Days day, int minuteOfDay) {
  const std::chrono::year_month_day date(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:00", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                minuteOfDay / 60, minuteOfDay % 60);
  return text;
}

// A date as the host keeps it: the first and the last day it may mean, and its
// kind. An unknown date has neither day.
struct VagueDate {
  std::optional<Days> start;
  std::optional<Days> end;
  std::string type;  // "D" a day, "O" a month, "Y" a year, "YY" years, "U" unknown
};

VagueDate RandomDate(DemoRandom& random) {
  using namespace std::chrono;
  const int year = 1985 + random.Below(40);
  const Days january = year_month_day(std::chrono::year(year) / January / 1);
  const Days december31 = year_month_day(std::chrono::year(year) / December / 31);
  const double kind = random.Uniform();
  if (kind < 0.03) return {std::nullopt, std::nullopt, "U"};
  if (kind < 0.05) {  // a survey over two to five years that ended in `year`
    const int first = year - 1 - random.Below(4);
    return {Days(year_month_day(std::chrono::year(first) / January / 1)), december31, "YY"};
  }
  if (kind < 0.13) return {january, december31, "Y"};
  // Most records fall in the field season.
  const Days day = january + days(random.Chance(0.85) ? 90 + random.Below(200) : random.Below(365));
  if (kind < 0.18) {
    const year_month_day date(day);
    return {Days(date.year() / date.month() / 1), Days(date.year() / date.month() / last), "O"};
  }
  return {day, day, "D"};
}

// The host's day number of a date, or an empty text (NULL) for none.
std::string DayText(std::optional<Days> day) {
  return day ? std::to_string(DayNumber(*day)) : std::string();
}

struct Event {
  std::string key;
  int survey;
  VagueDate date;
};

class DemoWriter {
 public:
  DemoWriter(DatabaseSession& session, const DemoOptions& options, const DemoProgress& progress)
      : session_(session),
        options_(options),
        progress_(progress),
        random_(options.seed),
        people_(kSite) {
    for (int i = 0; i < 12; ++i) individuals_.push_back(people_.Next());
  }

  DemoSummary Write() {
    DemoSummary summary;
    taxonomy_ = WriteTaxonomy(session_, options_.taxonGroups, options_.taxa, random_);
    for (const auto& taxon : taxonomy_.taxa) summary.taxonListItems += taxon.listItemKeys.size();
    WriteSurveys();
    WriteEvents();
    WriteSamplesAndRecords(summary);
    return summary;
  }

 private:
  // The samples take most of the time; the indexes built after them the rest.
  static constexpr int kSamplesShare = 90;

  void Report(int percent) {
    if (progress_ && percent != reported_) progress_(reported_ = percent);
  }

  const std::string& Person() {
    return individuals_[random_.Below(static_cast<int>(individuals_.size()))];
  }

  void WriteSurveys() {
    KeySequence keys(kSite);
    BatchInserter rows(session_,
                       "INSERT INTO SURVEY (SURVEY_KEY, ITEM_NAME, RUN_BY) VALUES (?, ?, ?)");
    const auto names = SurveyNames();
    for (int s = 0; s < options_.surveys; ++s) {
      std::string name(names[s % names.size()]);
      if (s >= static_cast<int>(names.size())) name += " " + std::to_string(s / names.size() + 1);
      surveyKeys_.push_back(keys.Next());
      rows.Add({surveyKeys_.back(), name, Person()});
    }
    rows.Finish();
  }

  void WriteEvents() {
    KeySequence keys(kSite);
    BatchInserter rows(
        session_,
        "INSERT INTO SURVEY_EVENT (SURVEY_EVENT_KEY, SURVEY_KEY, VAGUE_DATE_START, "
        "VAGUE_DATE_END, VAGUE_DATE_TYPE) VALUES (?, ?, NULLIF(?, ''), NULLIF(?, ''), "
        "?)");
    const int count = std::max(options_.surveys, (options_.samples + 3) / 4);
    for (int e = 0; e < count; ++e) {
      // Early surveys are the big schemes and get most events.
      const int survey = e < options_.surveys ? e
                                              : std::min(random_.Below(options_.surveys),
                                                         random_.Below(options_.surveys));
      Event event{keys.Next(), survey, RandomDate(random_)};
      rows.Add({event.key, surveyKeys_[survey], DayText(event.date.start), DayText(event.date.end),
                event.date.type});
      events_.push_back(std::move(event));
    }
    rows.Finish();
  }

  // A taxon, mostly of the survey's main group, the common ones more often.
  int PickTaxon(int survey) {
    const int groups = options_.taxonGroups;
    const auto& main =
        taxonomy_.taxaOfGroup[kSurveyGroups[survey % std::size(kSurveyGroups)] % groups];
    if (main.empty() || random_.Chance(0.3)) {
      return random_.Below(static_cast<int>(taxonomy_.taxa.size()));
    }
    const double u = random_.Uniform();
    return main[static_cast<std::size_t>(u * u * main.size())];
  }

  const std::string& ListItemOf(int taxon) {
    const auto& items = taxonomy_.taxa[taxon].listItemKeys;
    if (items.size() > 1 && random_.Chance(0.2)) {
      return items[1 + random_.Below(static_cast<int>(items.size()) - 1)];
    }
    return items[0];
  }

  void WriteSamplesAndRecords(DemoSummary& summary) {
    KeySequence sampleKeys(kSite), occurrenceKeys(kSite), determinationKeys(kSite);
    BatchInserter samples(
        session_,
        "INSERT INTO SAMPLE (SAMPLE_KEY, SURVEY_EVENT_KEY, SAMPLE_TYPE_KEY, VAGUE_DATE_START, "
        "VAGUE_DATE_END, VAGUE_DATE_TYPE, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG, "
        "LOCATION_NAME, ENTERED_BY, ENTRY_DATE) VALUES (?, ?, ?, NULLIF(?, ''), NULLIF(?, ''), ?, "
        "NULLIF(?, ''), NULLIF(?, ''), NULLIF(?, ''), NULLIF(?, ''), ?, ?, ?)");
    BatchInserter occurrences(session_,
                              "INSERT INTO TAXON_OCCURRENCE (TAXON_OCCURRENCE_KEY, SAMPLE_KEY, "
                              "ZERO_ABUNDANCE, CONFIDENTIAL, CHECKED, VERIFIED) "
                              "VALUES (?, ?, ?, ?, ?, ?)");
    BatchInserter determinations(session_,
                                 "INSERT INTO TAXON_DETERMINATION (TAXON_DETERMINATION_KEY, "
                                 "TAXON_OCCURRENCE_KEY, TAXON_LIST_ITEM_KEY, PREFERRED, "
                                 "DETERMINER) VALUES (?, ?, ?, ?, ?)");
    PlaceMaker places(options_.extent, random_);
    const auto placeNames = PlaceNames();
    const auto habitats = HabitatNames();
    for (long long s = 0; s < options_.samples; ++s) {
      Report(static_cast<int>(s * kSamplesShare / options_.samples));
      const Event& event = events_[s * static_cast<long long>(events_.size()) / options_.samples];
      const std::string sampleKey = sampleKeys.Next();
      const DemoPlace place = places.Next();
      std::string location(habitats[random_.Below(static_cast<int>(habitats.size()))]);
      location += " bei ";
      location += placeNames[random_.Below(static_cast<int>(placeNames.size()))];
      // Records without a date were mostly entered from old notes, lately.
      const Days recorded = event.date.end.value_or(Days(std::chrono::year(2015) / 1 / 1));
      const auto entered = recorded + std::chrono::days(random_.Below(300));
      const int minuteOfDay = 480 + random_.Below(600);
      samples.Add({sampleKey, event.key, kSampleTypes[random_.Below(3)], DayText(event.date.start),
                   DayText(event.date.end), event.date.type, place.spatialRef,
                   place.spatialRefSystem, place.lat, place.lon, location, Person(),
                   DateTimeText(entered, minuteOfDay)});
      for (int o = 0; o < options_.occurrencesPerSample; ++o) {
        const std::string occurrenceKey = occurrenceKeys.Next();
        const int verified = random_.Chance(0.7) ? 0 : (random_.Chance(0.8) ? 1 : 2);
        occurrences.Add({occurrenceKey, sampleKey, Bit(random_.Chance(0.02)),
                         Bit(random_.Chance(0.03)), Bit(!random_.Chance(0.08)),
                         std::to_string(verified)});
        const int taxon = PickTaxon(event.survey);
        // An earlier, superseded determination, sometimes the only one.
        const double history = random_.Uniform();
        if (history < 0.105) {
          determinations.Add({determinationKeys.Next(), occurrenceKey,
                              ListItemOf(random_.Below(static_cast<int>(taxonomy_.taxa.size()))),
                              "0", Person()});
        }
        if (history >= 0.005) {
          determinations.Add(
              {determinationKeys.Next(), occurrenceKey, ListItemOf(taxon), "1", Person()});
        }
      }
    }
    samples.Finish();
    occurrences.Finish();
    determinations.Finish();
    summary.samples = samples.Rows();
    summary.occurrences = occurrences.Rows();
    summary.determinations = determinations.Rows();
    Report(kSamplesShare);
  }

  DatabaseSession& session_;
  const DemoOptions& options_;
  const DemoProgress& progress_;
  int reported_ = -1;
  DemoRandom random_;
  KeySequence people_;
  std::vector<std::string> individuals_;
  DemoTaxonomy taxonomy_;
  std::vector<std::string> surveyKeys_;
  std::vector<Event> events_;
};

}  // namespace

DemoSummary WriteDemoDatabase(FileReplacement& replacement, const DemoOptions& options,
                              const DemoProgress& progress) {
  try {
    DatabaseSession session;
    session.SetCommandTimeout(0);
    session.Open(SqliteConnectionString(replacement.TemporaryPath()));
    // A new file that nobody else reads yet: no journal, no waiting for the disk
    // (the finished file is flushed once, before it replaces the target).
    session.ExecuteNoRecords("PRAGMA journal_mode = OFF");
    session.ExecuteNoRecords("PRAGMA synchronous = OFF");
    // Room for the sorts of the index builds (in KiB).
    session.ExecuteNoRecords("PRAGMA cache_size = -262144");
    session.ExecuteNoRecords("BEGIN");
    CreateDemoTables(session);
    DemoSummary summary = DemoWriter(session, options, progress).Write();
    CreateDemoIndexes(session);
    session.ExecuteNoRecords("COMMIT");
    if (progress) progress(99);
    return summary;
  } catch (const DatabaseError& e) {
    // Mostly a full disk, which SQLite reports without naming the file.
    throw FileWriteError(replacement.Target(), e.what());
  }
}

DemoSummary WriteDemoDatabase(const std::filesystem::path& path, const DemoOptions& options,
                              const DemoProgress& progress) {
  FileReplacement replacement(path);
  const DemoSummary summary = WriteDemoDatabase(replacement, options, progress);
  replacement.Commit();
  return summary;
}

}  // namespace velmora::demo
