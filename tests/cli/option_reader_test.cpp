// The option reader that every command line shares.
#include "cli/option_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::cli {
namespace {

constexpr KnownOption kOptions[] = {{"--nw"}, {"--se"}, {"--csv", false}};

template <typename Action>
std::string UsageErrorOf(Action action) {
  try {
    action();
  } catch (const UsageError& e) {
    return e.what();
  }
  return "";
}

std::string RefusalOf(std::vector<std::string_view> args, OptionWording wording = {}) {
  return UsageErrorOf([&] { [[maybe_unused]] const OptionReader reader(args, kOptions, wording); });
}

TEST(OptionReader, TakesTheNextArgumentAsTheValueWhateverItLooksLike) {
  const std::vector<std::string_view> args = {"--csv", "--nw", "--se", "--se", "-1"};
  const OptionReader options(args, kOptions);
  EXPECT_TRUE(options.Has("--csv"));
  EXPECT_EQ(options.Optional("--csv"), "") << "a flag has no value";
  EXPECT_EQ(options.Required("--nw"), "--se");
  EXPECT_EQ(options.Optional("--se"), "-1");
  EXPECT_FALSE(options.Has("--type"));
  EXPECT_EQ(options.Optional("--type"), std::nullopt);
}

TEST(OptionReader, RefusesInTheCommandsOwnWords) {
  EXPECT_EQ(RefusalOf({"--bogus", "1"}), "unknown option '--bogus'");
  EXPECT_EQ(RefusalOf({"6508"}), "unknown option '6508'");
  EXPECT_EQ(RefusalOf({"--nw"}), "option '--nw' needs a value");
  EXPECT_EQ(RefusalOf({"--nw", "1", "--nw", "2"}), "option '--nw' given twice");
  EXPECT_EQ(RefusalOf({"--csv", "--csv"}), "option '--csv' given twice");
  EXPECT_EQ(RefusalOf({"--nw", "1", "x"}, {.unexpected = "unexpected argument '%s'"}),
            "unexpected argument 'x'");
  EXPECT_EQ(RefusalOf({"--nw"}, {.needsValue = "%s needs a sheet"}), "--nw needs a sheet");
  const std::vector<std::string_view> none;
  EXPECT_EQ(UsageErrorOf([&] { OptionReader(none, kOptions).Required("--se"); }),
            "option '--se' is missing");
}

TEST(OptionReader, KeepsOperandsWhereTheWordingAllowsButNeverASecondValue) {
  const std::vector<std::string_view> args = {"49.43", "--nw", "1", "-10.9"};
  const OptionReader options(args, kOptions, {.unexpected = ""});
  EXPECT_EQ(options.Operands(), (std::vector<std::string_view>{"49.43", "-10.9"}));
  EXPECT_EQ(options.Required("--nw"), "1");
  EXPECT_EQ(RefusalOf({"49.43", "--nw", "1", "--nw", "2"}, {.unexpected = ""}),
            "option '--nw' given twice");
}

TEST(OptionReader, WholeNumbersAreCheckedAgainstTheirRange) {
  const auto number = [](std::string_view text) {
    const std::vector<std::string_view> args = {"--nw", text};
    return OptionReader(args, kOptions).WholeNumber("--nw", 1, 1000);
  };
  EXPECT_EQ(number("1"), 1);
  EXPECT_EQ(number("1000"), 1000);
  for (const char* bad : {"0", "1001", "-5", "ten", "12x", "", " 5", "+5", "99999999999"}) {
    EXPECT_THROW(number(bad), UsageError) << bad;
  }
  EXPECT_EQ(UsageErrorOf([&] { number("0"); }),
            "--nw takes a whole number from 1 to 1000, not '0'");
  const std::vector<std::string_view> none;
  EXPECT_EQ(OptionReader(none, kOptions).WholeNumber("--nw", 1, 1000), std::nullopt);
}

}  // namespace
}  // namespace velmora::cli
