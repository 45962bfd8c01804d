#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace velmora::com {
namespace {

TEST(Bstr, HasTheWindowsLayout) {
  const OLECHAR text[] = u"Fehler";
  BSTR s = SysAllocString(text);
  ASSERT_NE(s, nullptr);
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(s) - 4, 4);
  EXPECT_EQ(bytes, 12u) << "the prefix counts bytes, not characters";
  EXPECT_EQ(SysStringLen(s), 6u);
  EXPECT_EQ(s[6], u'\0');
  EXPECT_EQ(std::u16string_view(s), u"Fehler");
  SysFreeString(s);
}

TEST(Bstr, KeepsEmbeddedNullsAndTreatsNullAsEmpty) {
  const OLECHAR text[] = {u'a', u'\0', u'b'};
  BStr s;
  *s.Out() = SysAllocStringLen(text, 3);
  EXPECT_EQ(SysStringLen(s.Get()), 3u);
  EXPECT_EQ(s.View(), std::u16string_view(text, 3));
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);
  BStr empty;
  EXPECT_EQ(empty.Utf8(), "");
}

TEST(Bstr, ConvertsBetweenUtf8AndUtf16) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"Provider=SQLite;Data Source=/tmp/a b.db", u"Provider=SQLite;Data Source=/tmp/a b.db"},
      {"MTB Raster auszählen", u"MTB Raster auszählen"},
      {"Größe ÄÖÜ ß", u"Größe ÄÖÜ ß"},
      {"\xF0\x9F\x8C\xB3 Baum", u"\U0001F333 Baum"},  // outside the basic plane: a surrogate pair
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
    EXPECT_EQ(BStr(c.utf8).Utf8(), c.utf8);
  }
}

TEST(Bstr, ReplacesMalformedTextInsteadOfFailing) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");                             // cut-off sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");                         // overlong form of "/"
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Bstr, OwnerHandsTextOverAndFreesItsOwn) {
  BStr a("eins");
  BStr b(std::move(a));
  EXPECT_EQ(a.Get(), nullptr);
  EXPECT_EQ(b.Utf8(), "eins");
  a = BStr("zwei");
  BSTR detached = a.Detach();
  EXPECT_EQ(a.Get(), nullptr);
  EXPECT_EQ(SysStringLen(detached), 4u);
  SysFreeString(detached);
}

}  // namespace
}  // namespace velmora::com
