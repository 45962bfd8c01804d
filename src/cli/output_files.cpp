#include "cli/output_files.h"

#include <string>
#include <system_error>

#include "cli/command_errors.h"

namespace velmora::cli {

bool NameTheSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ignored;
  return std::filesystem::equivalent(a, b, ignored) ||
         std::filesystem::absolute(a, ignored).lexically_normal() ==
             std::filesystem::absolute(b, ignored).lexically_normal();
}

void RefuseOutputNamingInput(std::string_view outputOption, const std::filesystem::path& output,
                             std::span<const NamedInput> inputs) {
  for (const NamedInput& input : inputs) {
    if (!NameTheSameFile(output, input.path)) continue;
    throw UsageError(std::string(outputOption) + " '" + output.string() + "' names the " +
                     std::string(input.option) + " file '" + input.path.string() +
                     "', which it would overwrite; choose another " + std::string(outputOption));
  }
}

void RefuseInputsThatAreNoFiles(std::span<const NamedInput> inputs) {
  for (const NamedInput& input : inputs) {
    std::error_code ignored;
    const std::filesystem::file_type type = std::filesystem::status(input.path, ignored).type();
    if (type == std::filesystem::file_type::regular || type == std::filesystem::file_type::none ||
        type == std::filesystem::file_type::not_found) {
      continue;
    }
    throw UsageError(std::string(input.option) + " '" + input.path.string() +
                     "' is not a regular file");
  }
}

}  // namespace velmora::cli
