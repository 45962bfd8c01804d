#pragma once

#include <span>
#include <string>
#include <vector>

namespace velmora {

// A statement with '?' placeholders, parsed once and executed many times with
// text parameters. Each batch runs in one transaction where the backend allows.
class PreparedStatement {
 public:
  virtual ~PreparedStatement() = default;

  // Executes the statement once per row of parameters (one text per
  // placeholder); returns the total number of rows affected.
  virtual long long ExecuteBatch(std::span<const std::vector<std::string>> rows) = 0;
};

}  // namespace velmora
