// How --groups and --surveys read their keys, and how velmora-count groups and
// surveys write them.
#include "cli/key_selection.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::cli {
namespace {

KeySelection Read(std::string_view groups) {
  const std::vector<std::string_view> args = {"--groups", groups};
  static constexpr KnownOption kOptions[] = {{"--groups"}, {"--surveys"}};
  return ReadKeySelection(OptionReader(args, kOptions));
}

TEST(KeySelection, EveryKeyComesBackAsEscapeKeyWroteIt) {
  const std::vector<std::string> keys = {"NBNSYS0000000001", "A,B", "C\\D",
                                         "E\tF\nG\rH",       ",",   "all"};
  std::string given;
  for (const std::string& key : keys) given += (given.empty() ? "" : ",") + EscapeKey(key);
  EXPECT_EQ(given, "NBNSYS0000000001,A\\,B,C\\\\D,E\\tF\\nG\\rH,\\,,all");
  EXPECT_EQ(Read(given).groups, keys);
  EXPECT_EQ(Read("all").groups, std::nullopt) << "all alone means every group";
  EXPECT_EQ(EscapeName("Käfer, Wanzen\t\\\n"), "Käfer, Wanzen\\t\\\\\\n")
      << "a name keeps its commas: nothing follows it on its line";
}

TEST(KeySelection, RefusesEmptyKeysAndUnknownEscapes) {
  const struct {
    std::string_view given;
    std::string_view fault;
  } refused[] = {
      {"A,,B", "an empty key"},
      {",A", "an empty key"},
      {"A,", "an empty key"},
      {"A\\", "a lone backslash at its end"},
      {"A\\x", "an unknown escape '\\x'"},
      {"\\ ", "an unknown escape '\\ '"},
  };
  for (const auto& r : refused) {
    try {
      Read(r.given);
      ADD_FAILURE() << r.given << " taken";
    } catch (const UsageError& error) {
      EXPECT_EQ(std::string(error.what())
                    .rfind("option --groups has " + std::string(r.fault) + " in '" +
                               std::string(r.given) + "' (use all or KEY,KEY...",
                           0),
                0u)
          << error.what();
    }
  }
}

}  // namespace
}  // namespace velmora::cli
