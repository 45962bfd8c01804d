#include "platform/integer_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/errors.h"

namespace velmora {
namespace {

std::string ConvertMessage(std::string_view text) {
  try {
    ParseInteger(text);
  } catch (const ConvertError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ParseInteger, ReadsDecimalAndDollarHexadecimal) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {{"0", 0},
               {"42", 42},
               {"-5", -5},
               {"+3", 3},
               {"  7", 7},
               {"$1F", 31},
               {"$ff", 255},
               {"$FF000005", static_cast<std::int32_t>(0xFF000005u)},
               {"2147483647", 2147483647},
               {"-2147483648", -2147483647 - 1},
               {"-$10", -16}};
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(ParseInteger, RejectsEverythingElseWithTheOffendingText) {
  for (const char* text : {"abc", "", " ", "1.5", "1,5", "12 ", "$", "0x10", "--1", "$123456789",
                           "2147483648", "-2147483649", "1e3"}) {
    EXPECT_FALSE(TryParseInteger(text)) << text;
    EXPECT_EQ(ConvertMessage(text), "'" + std::string(text) + "' is not a valid integer value");
  }
}

}  // namespace
}  // namespace velmora
