#include "wizard/validation.h"

#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "wizard/error_display.h"

namespace velmora {
namespace {

const std::string kNoGridType = "Bitte wählen Sie einen Rastertyp aus";
const std::string kBadNorthWest =
    "0 Bitte geben Sie eine gültige Nummer für das nordwestliche Messtischblatt an.";
const std::string kBadSouthEast =
    "0 Bitte geben Sie eine gültige Nummer für das südöstliche Messtischblatt an.";
const std::string kNotOrdered =
    "Die Nummer des südöstlichen Messtischblattes kann nicht kleiner sein als die des "
    "Nordwestlichen";
const std::string kWestOf =
    "Das südöstliche Messtischblatt darf nicht westlich des nordwestlichen liegen";

struct CheckCase {
  const char* name;
  SettingsPageInputs inputs;
  std::optional<SettingsPageProblem> expected;
};

TEST(CheckSettingsPage, RunsTheChecksInOrderAndStopsAtTheFirstFailure) {
  const CheckCase cases[] = {
      {"no grid type, sheets not even looked at", {false, "x", "y"}, {{kNoGridType, false}}},
      {"north-west too short", {true, "12", "8756"}, {{kBadNorthWest, true}}},
      {"north-west lower-case w", {true, "w5099", "8756"}, {{kBadNorthWest, true}}},
      {"south-east too short", {true, "0901", "12"}, {{kBadSouthEast, true}}},
      {"south-east with two W", {true, "0901", "WW901"}, {{kBadSouthEast, true}}},
      {"south-east north of north-west", {true, "6508", "6408"}, {{kNotOrdered, true}}},
      {"same row, south-east further west", {true, "W5099", "W5098"}, {{kNotOrdered, true}}},
      {"later row, south-east further west", {true, "6508", "6607"}, {{kWestOf, true}}},
      {"later row, west sheet west of an ordinary one", {true, "6500", "W6699"}, {{kWestOf, true}}},
      {"one sheet", {true, "6508", "6508"}, std::nullopt},
      {"west sheet into ordinary sheets", {true, "W5099", "5100"}, std::nullopt},
      {"largest extent", {true, "0901", "8758"}, std::nullopt},
  };
  for (const CheckCase& c : cases) {
    EXPECT_EQ(CheckSettingsPage(c.inputs), c.expected) << c.name;
  }
}

TEST(WithFullStop, AppendsOneWhenTheLastCharacterSortsAfterTheFullStop) {
  const std::pair<std::string, std::string> cases[] = {
      {kNoGridType, kNoGridType + "."},
      {kBadNorthWest, kBadNorthWest},
      {kNotOrdered, kNotOrdered + "."},
      {"", ""},
      {"Fehler!", "Fehler!"},            // "!" sorts before "."
      {"(siehe oben)", "(siehe oben)"},  // so does ")"
      {"a/b", "a/b."},
      {"Pfad C:/", "Pfad C:/."},  // "/" sorts right after "."
      {"zu groß", "zu groß."},    // a non-ASCII last letter too
      {"5", "5."},
  };
  for (const auto& [message, shown] : cases) EXPECT_EQ(WithFullStop(message), shown) << message;
}

TEST(ShowErrorMessage, ShowsTheTextWithAnErrorIconAndIgnoresASilentAbort) {
  RecordingMessageSink sink;
  ShowErrorMessage(EValidation(kNoGridType));
  ShowErrorMessage(SilentAbort());
  ShowErrorMessage(ConvertError("abc"));
  ASSERT_EQ(sink.Shown().size(), 2u);
  EXPECT_EQ(sink.Shown()[0].text, kNoGridType + ".");
  EXPECT_EQ(sink.Shown()[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink.Shown()[1].text, "'abc' is not a valid integer value.");
}

}  // namespace
}  // namespace velmora
