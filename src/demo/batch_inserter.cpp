#include "demo/batch_inserter.h"

namespace velmora::demo {

namespace {
constexpr std::size_t kBatchRows = 10000;
}

BatchInserter::BatchInserter(DatabaseSession& session, const std::string& sql)
    : statement_(session.Prepare(sql)) {}

void BatchInserter::Add(std::initializer_list<std::string_view> row) {
  if (used_ == pending_.size()) pending_.emplace_back();
  std::vector<std::string>& fields = pending_[used_++];
  fields.resize(row.size());
  auto field = fields.begin();
  for (const std::string_view value : row) (field++)->assign(value);
  if (used_ == kBatchRows) Finish();
}

void BatchInserter::Finish() {
  rows_ += statement_->ExecuteBatch(std::span(pending_).first(used_));
  used_ = 0;
}

}  // namespace velmora::demo
