#pragma once

#include <string_view>

namespace velmora::cli {

// What a program prints for its caller goes through here, so that a full disk
// or a closed file behind standard output is a failure, not a run that ends
// with status 0 and an empty or cut-off file.

// Writes the text to standard output; a write that fails raises an Exception
// with the reason. For a command's output, which may be larger than the
// stream's buffer: the stream then writes it at once, and the reason of a
// failure is known only right then.
void PrintOut(std::string_view text);

// Flushes standard output; raises an Exception when anything written to it,
// also by printf, did not arrive. RunReportingErrors calls it after every
// command.
void FinishStandardOutput();

}  // namespace velmora::cli
