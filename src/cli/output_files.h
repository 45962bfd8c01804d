#pragma once

#include <filesystem>
#include <span>
#include <string_view>

namespace velmora::cli {

// Whether two names lead to one file: the same file once links and other
// names of it are followed, or, for files that are not there yet, the same
// path once made absolute and normal.
bool NameTheSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A file a command reads, by the option that names it.
struct NamedInput {
  std::string_view option;
  std::filesystem::path path;
};

// Refuses, with a UsageError naming both options, an output that names one of
// the command's inputs: writing it would destroy what it is made from.
void RefuseOutputNamingInput(std::string_view outputOption, const std::filesystem::path& output,
                             std::span<const NamedInput> inputs);

// Refuses, with a UsageError naming the option, an input that is there but is
// not a regular file: a FIFO would wait for a writer, a device might never end.
void RefuseInputsThatAreNoFiles(std::span<const NamedInput> inputs);

}  // namespace velmora::cli
