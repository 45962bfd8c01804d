#pragma once

#include <filesystem>
#include <future>
#include <string>

namespace velmora::testing {

// A FIFO at `path` and a program that reads it to its end, as a pipeline's
// next program would. It holds the FIFO open for writing itself until
// Finish(), so that the reader neither ends before the writer has come nor
// waits for ever on one that does not come (one that replaced the FIFO by a
// file, say).
class FifoReader {
 public:
  explicit FifoReader(const std::filesystem::path& path);
  ~FifoReader();
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  // What arrived, once the writers are done.
  std::string Finish();

 private:
  int held_ = -1;
  std::future<std::string> read_;
};

}  // namespace velmora::testing
