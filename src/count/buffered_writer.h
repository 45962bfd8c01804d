#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/db/streaming.h"

namespace velmora {

// Gathers rows for a RowWriter and writes them a batch at a time. Texts are
// copied, since a streamed row's texts live only as long as the row; the
// buffers are kept from batch to batch, which spares an allocation per text.
class BufferedWriter {
 public:
  BufferedWriter(StreamingAccess& streaming, const std::string& sql, size_t columns);

  void Add(std::span<const RowValue> row);
  // Writes the rows gathered so far; call once after the last row.
  void Flush();

 private:
  std::unique_ptr<RowWriter> writer_;
  size_t columns_;
  std::vector<RowValue> values_;
  std::vector<std::string> texts_;  // one per value, for the texts among them
  size_t rows_ = 0;
};

}  // namespace velmora
