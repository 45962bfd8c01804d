#include "count/streamed/buffered_writer.h"

namespace velmora {
namespace {

constexpr size_t kBatchRows = 4096;
// Room for a batch of rows with a few keys and references each; a batch whose
// texts would not fit is written early.
constexpr size_t kBatchTextBytes = size_t{1} << 20;

size_t TextBytesOf(std::span<const RowValue> row) {
  size_t bytes = 0;
  for (const RowValue& value : row) {
    if (const auto* text = std::get_if<std::string_view>(&value)) bytes += text->size();
  }
  return bytes;
}

}  // namespace

BufferedWriter::BufferedWriter(StreamingAccess& streaming, const std::string& sql, size_t columns)
    : writer_(streaming.PrepareWriter(sql)), columns_(columns) {
  values_.reserve(kBatchRows * columns);
  texts_.reserve(kBatchTextBytes);
}

void BufferedWriter::Add(std::span<const RowValue> row) {
  const size_t bytes = TextBytesOf(row.first(columns_));
  if (texts_.size() + bytes > texts_.capacity()) {
    Flush();
    // Only an empty block may move: no value refers to it.
    if (bytes > texts_.capacity()) texts_.reserve(bytes);
  }
  for (size_t i = 0; i < columns_; ++i) {
    if (const auto* text = std::get_if<std::string_view>(&row[i])) {
      const size_t begin = texts_.size();
      texts_.append(*text);
      values_.push_back(std::string_view(texts_).substr(begin));
    } else {
      values_.push_back(row[i]);
    }
  }
  if (values_.size() == kBatchRows * columns_) Flush();
}

void BufferedWriter::Flush() {
  writer_->WriteRows(values_);
  values_.clear();
  texts_.clear();
}

}  // namespace velmora
