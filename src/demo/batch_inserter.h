#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/database_session.h"

namespace velmora::demo {

// Gathers rows for one prepared INSERT and sends them in batches.
class BatchInserter {
 public:
  BatchInserter(DatabaseSession& session, const std::string& sql);

  void Add(std::initializer_list<std::string_view> row);
  // Sends what is left; call once after the last row.
  void Finish();
  long long Rows() const { return rows_; }

 private:
  std::unique_ptr<PreparedStatement> statement_;
  // Rows of earlier batches are overwritten in place, which spares the
  // allocation of every field of every row.
  std::vector<std::vector<std::string>> pending_;
  std::size_t used_ = 0;
  long long rows_ = 0;
};

// The text of a bit or a flag.
inline std::string Bit(bool value) { return value ? "1" : "0"; }

}  // namespace velmora::demo
