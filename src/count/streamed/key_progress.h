#pragma once

#include <string>
#include <string_view>

#include "platform/db/database_session.h"

namespace velmora {

// How far a pass in key order has come, from the first key to the last, in
// per cent: the characters after the two keys' common beginning are read as a
// fraction, each by its place among the digits and capital letters the host
// writes its keys in. The host's keys (a site and a counter) are spread evenly
// enough for a progress bar and for splitting a pass into parts, and the figure
// never goes back while the keys ascend.
class KeyProgress {
 public:
  KeyProgress(std::string_view first, std::string_view last);

  int Percent(std::string_view key) const;
  // The same from 0 to 1.
  double FractionOf(std::string_view key) const;
  // A text of printable characters about that fraction of the way from the
  // first key to the last, where a pass can be split in two.
  std::string KeyAt(double fraction) const;

 private:
  // The characters after the common beginning, read as a number from 0 to 1.
  double ValueOf(std::string_view key) const;

  std::string prefix_;
  double first_;
  double last_;
};

// The progress of a pass over a table in the order of a key column, from the
// column's smallest and largest value.
KeyProgress KeyProgressOf(DatabaseSession& session, std::string_view table,
                          std::string_view column);

}  // namespace velmora
