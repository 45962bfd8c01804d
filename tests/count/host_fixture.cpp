#include "host_fixture.h"

#include <cstdio>

#include "count/sql_text.h"

namespace velmora::testing {
namespace {

std::string Text(const std::optional<std::string>& value) {
  return value ? QuoteSqlText(*value) : "NULL";
}

std::string Number(std::optional<double> value) {
  if (!value) return "NULL";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.10f", *value);
  std::string text = buffer;
  for (char& c : text) {
    if (c == ',') c = '.';  // whatever the locale
  }
  return text;
}

}  // namespace

HostFixture::HostFixture(Backend backend)
    : connectionString_(TestConnectionString(backend, folder_.Path() / "host.db")) {
  session_.Open(connectionString_);
  // A test database need not survive a power cut.
  Execute("PRAGMA synchronous = OFF");
  for (const char* ddl : {
           "CREATE TABLE TAXON_GROUP (TAXON_GROUP_KEY CHAR(16) PRIMARY KEY, TAXON_GROUP_NAME "
           "VARCHAR(100), SORT_ORDER INT)",
           "CREATE TABLE SURVEY (SURVEY_KEY CHAR(16) PRIMARY KEY, ITEM_NAME VARCHAR(100))",
           "CREATE TABLE SURVEY_EVENT (SURVEY_EVENT_KEY CHAR(16) PRIMARY KEY, SURVEY_KEY CHAR(16))",
           "CREATE TABLE SAMPLE (SAMPLE_KEY CHAR(16) PRIMARY KEY, SURVEY_EVENT_KEY CHAR(16), "
           "SPATIAL_REF VARCHAR(40), SPATIAL_REF_SYSTEM VARCHAR(4), LAT FLOAT, LONG FLOAT, "
           "VAGUE_DATE_START INT, VAGUE_DATE_END INT)",
           "CREATE TABLE TAXON_OCCURRENCE (TAXON_OCCURRENCE_KEY CHAR(16) PRIMARY KEY, SAMPLE_KEY "
           "CHAR(16), ZERO_ABUNDANCE BIT NOT NULL, CONFIDENTIAL BIT NOT NULL, CHECKED BIT NOT "
           "NULL)",
           "CREATE TABLE TAXON_DETERMINATION (TAXON_DETERMINATION_KEY CHAR(16) PRIMARY KEY, "
           "TAXON_OCCURRENCE_KEY CHAR(16), TAXON_LIST_ITEM_KEY CHAR(16), PREFERRED BIT NOT NULL)",
           "CREATE TABLE INDEX_TAXON_NAME (TAXON_LIST_ITEM_KEY CHAR(16) PRIMARY KEY, "
           "RECOMMENDED_TAXON_LIST_ITEM_KEY CHAR(16))",
           "CREATE TABLE TAXON_LIST_ITEM (TAXON_LIST_ITEM_KEY CHAR(16) PRIMARY KEY, "
           "TAXON_VERSION_KEY CHAR(16))",
           "CREATE TABLE TAXON_VERSION (TAXON_VERSION_KEY CHAR(16) PRIMARY KEY, OUTPUT_GROUP_KEY "
           "CHAR(16))",
       }) {
    Execute(ddl);
  }
  AddSurvey("SURVEY01", "Kartierung");
}

void HostFixture::Execute(const std::string& sql) { session_.ExecuteNoRecords(sql); }

void HostFixture::AddTaxonGroup(const std::string& key, const std::string& name, int sortOrder) {
  Execute("INSERT INTO TAXON_GROUP VALUES (" + QuoteSqlText(key) + ", " + QuoteSqlText(name) +
          ", " + std::to_string(sortOrder) + ")");
}

void HostFixture::AddSurvey(const std::string& key, const std::string& name) {
  Execute("INSERT INTO SURVEY VALUES (" + QuoteSqlText(key) + ", " + QuoteSqlText(name) + ")");
  Execute("INSERT INTO SURVEY_EVENT VALUES (" + QuoteSqlText("EV" + key) + ", " +
          QuoteSqlText(key) + ")");
}

void HostFixture::AddTaxon(const std::string& item, const std::string& group,
                           const std::string& recommended) {
  Execute("INSERT INTO INDEX_TAXON_NAME VALUES (" + QuoteSqlText(item) + ", " +
          QuoteSqlText(recommended.empty() ? item : recommended) + ")");
  Execute("INSERT INTO TAXON_LIST_ITEM VALUES (" + QuoteSqlText(item) + ", " +
          QuoteSqlText("TV" + item) + ")");
  Execute("INSERT INTO TAXON_VERSION VALUES (" + QuoteSqlText("TV" + item) + ", " +
          QuoteSqlText(group) + ")");
}

void HostFixture::AddSample(const std::string& key, std::optional<double> latitude,
                            std::optional<double> longitude, std::optional<std::string> system,
                            std::optional<std::string> reference, const std::string& survey) {
  Execute(
      "INSERT INTO SAMPLE (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, "
      "LONG) VALUES (" +
      QuoteSqlText(key) + ", " + QuoteSqlText("EV" + survey) + ", " + Text(reference) + ", " +
      Text(system) + ", " + Number(latitude) + ", " + Number(longitude) + ")");
}

void HostFixture::DateSample(const std::string& key, std::optional<int> start,
                             std::optional<int> end) {
  const auto day = [](std::optional<int> d) { return d ? std::to_string(*d) : "NULL"; };
  Execute("UPDATE SAMPLE SET VAGUE_DATE_START = " + day(start) + ", VAGUE_DATE_END = " + day(end) +
          " WHERE SAMPLE_KEY = " + QuoteSqlText(key));
}

void HostFixture::AddRecord(const std::string& sample, const std::string& taxonItem,
                            Record record) {
  const std::string occurrence = "OCC" + std::to_string(++nextKey_);
  const std::string key = QuoteSqlText(occurrence);
  Execute("INSERT INTO TAXON_OCCURRENCE VALUES (" + key + ", " + QuoteSqlText(sample) + ", " +
          std::to_string(record.zeroAbundance) + ", " + std::to_string(record.confidential) + ", " +
          std::to_string(record.checked) + ")");
  Execute("INSERT INTO TAXON_DETERMINATION VALUES (" + key + ", " + key + ", " +
          QuoteSqlText(taxonItem) + ", " + std::to_string(record.preferred) + ")");
  if (record.alsoDeterminedAs) {
    Execute("INSERT INTO TAXON_DETERMINATION VALUES (" + QuoteSqlText(occurrence + "B") + ", " +
            key + ", " + QuoteSqlText(*record.alsoDeterminedAs) + ", 1)");
  }
}

Point MinuteFieldCentre(int sheetRow, int sheetColumn, int rho, int kappa) {
  // Sheet rows start 6' apart south of 56 N, columns 10' apart east of 5 40' E.
  const double north = 56.0 - sheetRow * 0.1;
  const double west = 35.0 / 6.0 + (sheetColumn - 1) / 6.0;
  return {north - (rho + 0.5) / 60.0, west + (kappa + 0.5) / 60.0};
}

}  // namespace velmora::testing
