#include "grid/geodll32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "grid/coordinate_conversion.h"
#include "platform/message_box.h"

namespace velmora {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kSetLanguageNotBound = "GeoDLL32 : Function setlanguage() not bound ";
constexpr const char* kCoordTrans3NotBound = "GeoDLL32 : Function coordtrans3() not bound ";

struct Results {
  double a = -1;
  double b = -1;
  int status = -1;
};

Results Transform(double longitude, double latitude) {
  Results r;
  r.status = GeodeticSlots().coordtrans3(longitude, latitude, 6, 10, 0, &r.a, &r.b, 1, 17, 0, 0);
  return r;
}

// A conversion needs no set-up: its first use of the slots loads the library.
// The check runs in a process of its own ("threadsafe" starts the program
// anew), where nothing has loaded the library before.
TEST(GeodeticLibraryDeathTest, TheFirstConversionLoadsTheLibrary) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto convert = [] {
    RecordingMessageSink messages;
    const bool converted = CoordinateToCellCode("QYX", 51.0, 6.0) == "4902/331";
    std::exit(converted && messages.Shown().empty() ? 0 : 1);
  };
  EXPECT_EXIT(convert(), ::testing::ExitedWithCode(0), "");
}

TEST(GeodeticLibrary, MissingLibraryShowsOneMessageAndInstallsTheFallbacks) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  EXPECT_EQ(messages.Texts(), Texts{"Unable to load GeoDLL32.DLL"});
  EXPECT_EQ(messages.Shown()[0].caption, "");
  EXPECT_FALSE(IsGeodeticLibraryBound());

  messages.Clear();
  EXPECT_EQ(GeodeticSlots().setlanguage(2), 0);
  const Results r = Transform(7.0, 50.0);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.a, 0.0);
  EXPECT_EQ(r.b, 0.0);
  EXPECT_EQ(messages.Texts(), (Texts{kSetLanguageNotBound, kCoordTrans3NotBound}));
}

TEST(GeodeticLibrary, WithoutTheLibraryEveryConversionShowsBothMessagesAndGivesNoCell) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  messages.Clear();
  EXPECT_EQ(CoordinateToCellCode("QYX", 50.0, 7.0), "");
  EXPECT_EQ(CoordinateToCellCode("QQQ", 51.0, 8.0), "");
  EXPECT_EQ(messages.Texts(), (Texts{kSetLanguageNotBound, kCoordTrans3NotBound,
                                     kSetLanguageNotBound, kCoordTrans3NotBound}));
}

TEST(GeodeticLibrary, PresentLibraryBindsSilentlyAndTransformsToDhdn) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32.so");
  EXPECT_TRUE(IsGeodeticLibraryBound());
  EXPECT_EQ(GeodeticSlots().setlanguage(2), 0);
  const Results r = Transform(8.0, 50.0);
  EXPECT_EQ(r.status, 0);
  // cs2cs EPSG:4326 EPSG:4314 gives 50.001152369793 8.000902154175.
  EXPECT_NEAR(r.a, 8.000902154175, 1e-9);
  EXPECT_NEAR(r.b, 50.001152369793, 1e-9);
  EXPECT_TRUE(messages.Shown().empty());
}

TEST(GeodeticLibrary, LibraryWithoutTheEntryPointsKeepsTheFallbacks) {
  RecordingMessageSink messages;
  // Loads, but exports neither name: each empty slot reports itself instead of
  // crashing the program.
  LoadGeodeticLibraryFrom("libm.so.6");
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_FALSE(IsGeodeticLibraryBound());
  EXPECT_EQ(CoordinateToCellCode("QYX", 50.0, 7.0), "");
  EXPECT_EQ(messages.Texts(), (Texts{kSetLanguageNotBound, kCoordTrans3NotBound}));
}

// The only test that calls LoadGeodeticLibrary: it binds once per process.
TEST(GeodeticLibrary, LoadGeodeticLibraryFindsTheLibraryOnItsSearchPathOnce) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  messages.Clear();
  LoadGeodeticLibrary();
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_EQ(Transform(8.0, 50.0).status, 0);

  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  messages.Clear();
  LoadGeodeticLibrary();
  EXPECT_TRUE(messages.Shown().empty()) << "a second call must not load again";
  EXPECT_EQ(Transform(8.0, 50.0).a, 0.0) << "the fallbacks stay";
}

}  // namespace
}  // namespace velmora
