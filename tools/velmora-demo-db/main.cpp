// velmora-demo-db: writes a database of the host's tables with made-up but
// realistic records, and optionally a background map of its extent.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/program_help.h"
#include "cli/terminal_progress.h"
#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "platform/replace_file.h"
#include "velmora-demo-db/command_line.h"

namespace {

namespace fs = std::filesystem;
using namespace velmora::demo;

constexpr const char* kProgram = "velmora-demo-db";

// A file is kept; a device or FIFO is written into, which replaces nothing.
void RefuseToOverwrite(const fs::path& path, bool force) {
  if (!force && fs::is_regular_file(path)) {
    throw velmora::Exception("'" + path.string() + "' exists; --force overwrites it");
  }
}

// Both files are written beside their targets and flushed to disk before
// either replaces its target: they appear together or not at all.
int Run(const CommandLine& line) {
  RefuseToOverwrite(line.out, line.force);
  if (line.bmp) RefuseToOverwrite(*line.bmp, line.force);

  velmora::FileReplacement database(line.out);
  std::optional<velmora::FileReplacement> picture;
  if (line.bmp) picture.emplace(*line.bmp);
  DemoSummary summary;
  {
    velmora::cli::TerminalProgress progress;
    summary = WriteDemoDatabase(database, line.options, [&progress](int percent) {
      progress.SetProgressPosition(percent);
    });
    if (picture) picture->Write(BackgroundBmp(line.options.extent, line.options.seed));
    database.Flush();
    if (picture) picture->Flush();
    database.Commit();
    if (picture) picture->Commit();
    progress.Finish();
  }
  std::printf("%s: %lld samples, %lld occurrences, %lld determinations, %lld taxon names\n",
              line.out.c_str(), summary.samples, summary.occurrences, summary.determinations,
              summary.taxonListItems);
  if (line.bmp) {
    const BmpSize size = BackgroundSize(line.options.extent);
    std::printf("%s: %d x %d pixels, %s to %s\n", line.bmp->c_str(), size.width, size.height,
                line.options.extent.NorthWest().Number().c_str(),
                line.options.extent.SouthEast().Number().c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit a write then fails with "File too large", which is
  // reported, instead of the signal ending the program with a temporary left.
  std::signal(SIGXFSZ, SIG_IGN);
  velmora::RemoveTemporariesOnInterrupt();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (velmora::cli::AsksForHelp(args))
    return velmora::cli::PrintHelp(kProgram, kUsage, kDescription);
  return velmora::cli::RunReportingErrors(
      kProgram, [&] { return Run(ParseCommandLine(args)); }, kUsage);
}
