#include "count/buffered_writer.h"

namespace velmora {
namespace {

constexpr size_t kBatchRows = 4096;

}  // namespace

BufferedWriter::BufferedWriter(StreamingAccess& streaming, const std::string& sql, size_t columns)
    : writer_(streaming.PrepareWriter(sql)),
      columns_(columns),
      values_(kBatchRows * columns),
      texts_(kBatchRows * columns) {}

void BufferedWriter::Add(std::span<const RowValue> row) {
  const size_t first = rows_ * columns_;
  for (size_t i = 0; i < columns_; ++i) {
    if (const auto* text = std::get_if<std::string_view>(&row[i])) {
      texts_[first + i].assign(*text);
      values_[first + i] = std::string_view(texts_[first + i]);
    } else {
      values_[first + i] = row[i];
    }
  }
  if (++rows_ == kBatchRows) Flush();
}

void BufferedWriter::Flush() {
  writer_->WriteRows(std::span(values_).first(rows_ * columns_));
  rows_ = 0;
}

}  // namespace velmora
