// The criteria of QueryResult::Find, which callers compose from keys that come
// from the database. A criteria text is found, not found, or refused as
// malformed, and the search never moves backwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/db/query_result.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  if (size == 0) return 0;
  // Three rows of a key and a number, one of each kind of value.
  QueryResult result({"KEY", "n"},
                     {Variant(std::string("a")), Variant(1LL), Variant(std::string("it's")),
                      Variant(std::monostate{}), Variant(std::string()), Variant(2.5)});
  // The first byte picks the row to search from.
  for (int row = 0; row < data[0] % 4; ++row) result.Next();
  const int start = result.Position();
  try {
    result.Find(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  } catch (const DatabaseError&) {
    return 0;
  }
  if (result.Position() < start) std::abort();
  return 0;
}
