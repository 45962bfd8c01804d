#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/errors.h"

namespace velmora::cli {
namespace {

// errno holds the reason only right after the write that failed; a stream
// whose error came earlier tells no reason any more.
[[noreturn]] void Fail(int error) {
  std::string message = "cannot write standard output";
  if (error != 0) message += ": " + SystemErrorText(error);
  throw Exception(message);
}

}  // namespace

void PrintOut(std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) Fail(errno);
}

void FinishStandardOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0) Fail(errno);
  if (std::ferror(stdout)) Fail(0);
}

}  // namespace velmora::cli
