#include "platform/color_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/errors.h"

namespace velmora {
namespace {

TEST(ColorText, EveryNameReadsAndWritesItsValue) {
  EXPECT_EQ(ColorNames().size(), 52u);
  for (const NamedColor& named : ColorNames()) {
    EXPECT_EQ(ColorToString(named.value), named.name);
    EXPECT_EQ(StringToColor(named.name), named.value) << named.name;
    std::string upper(named.name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(StringToColor(upper), named.value) << upper;
  }
}

TEST(ColorText, ValuesWithoutANameAreEightUpperCaseHexDigits) {
  const struct {
    TColor color;
    const char* text;
  } cases[] = {{0x00FF8000, "$00FF8000"}, {0x0000FE, "$000000FE"}, {0xFF000019, "$FF000019"},
               {0x0000FF, "clRed"},       {0xA4A0A0, "clMedGray"}, {0x20000000, "clDefault"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColorToString(c.color), c.text);
    EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
  }
  EXPECT_EQ(StringToColor("255"), 0x0000FFu);
  EXPECT_EQ(StringToColor("$00ff8000"), 0x00FF8000u);
  EXPECT_THROW(StringToColor("clNothing"), ConvertError);
}

}  // namespace
}  // namespace velmora
