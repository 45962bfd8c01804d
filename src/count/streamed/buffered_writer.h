#pragma once

#include <memory>
#include <span>
#include <string>

#include "count/large_blocks.h"
#include "platform/db/streaming.h"

namespace velmora {

// Gathers rows for a RowWriter and writes them a batch at a time. Texts are
// copied, since a streamed row's texts live only as long as the row: a batch's
// texts stand one after the other in one block of characters, kept from batch
// to batch and never moved while a batch refers to it, rather than in a string
// each, whose thousands of small buffers were allocated and first touched one
// by one.
class BufferedWriter {
 public:
  BufferedWriter(StreamingAccess& streaming, const std::string& sql, size_t columns);

  void Add(std::span<const RowValue> row);
  // Writes the rows gathered so far; call once after the last row.
  void Flush();

 private:
  std::unique_ptr<RowWriter> writer_;
  size_t columns_;
  LargeVector<RowValue> values_;
  LargeText texts_;
};

}  // namespace velmora
