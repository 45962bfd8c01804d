#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace velmora::com {
namespace {

TEST(Guid, ParsesAndPrintsTheRegistryForm) {
  struct Case {
    const char* text;
    const char* printed;
  };
  const Case cases[] = {
      {"{801EBEA5-91CE-11D3-B564-005004B0B698}", "{801EBEA5-91CE-11D3-B564-005004B0B698}"},
      {"{801ebea5-91ce-11d3-b564-005004b0b698}", "{801EBEA5-91CE-11D3-B564-005004B0B698}"},
      {"{00000000-0000-0000-C000-000000000046}", "{00000000-0000-0000-C000-000000000046}"},
      {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
  };
  for (const Case& c : cases) {
    const std::optional<GUID> guid = ParseGuid(c.text);
    ASSERT_TRUE(guid) << c.text;
    EXPECT_EQ(FormatGuid(*guid), c.printed);
  }
}

TEST(Guid, FieldsLandInTheWindowsLayout) {
  // The identifier of IUnknown: data4 starts with the two bytes before the last dash.
  EXPECT_EQ(ParseGuid("{00000000-0000-0000-C000-000000000046}"), IID_IUnknown);
  const GUID g = *ParseGuid("{12345678-9ABC-DEF0-1122-334455667788}");
  EXPECT_EQ(g.data1, 0x12345678u);
  EXPECT_EQ(g.data2, 0x9ABC);
  EXPECT_EQ(g.data3, 0xDEF0);
  EXPECT_EQ(g.data4, (std::array<std::uint8_t, 8>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));
}

TEST(Guid, RejectsEverythingButTheRegistryForm) {
  for (const char* text :
       {"", "801EBEA5-91CE-11D3-B564-005004B0B698", "{801EBEA5-91CE-11D3-B564-005004B0B69}",
        "{801EBEA5-91CE-11D3-B564-005004B0B6988}", "{801EBEA5_91CE-11D3-B564-005004B0B698}",
        "{801EBEA5-91CE-11D3-B564-005004B0B69G}", "{801EBEA5-91CE-11D3B-564-005004B0B698}",
        "(801EBEA5-91CE-11D3-B564-005004B0B698)", "{+01EBEA5-91CE-11D3-B564-005004B0B698}"}) {
    EXPECT_FALSE(ParseGuid(text)) << text;
  }
}

}  // namespace
}  // namespace velmora::com
