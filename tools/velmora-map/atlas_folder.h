#pragma once

#include <filesystem>
#include <set>
#include <span>
#include <string>

#include "cli/output_files.h"

namespace velmora::cli {

// The folder an atlas is written to. It keeps a list of the atlas's files in
// a marker file, by which a later run knows the folder as an atlas of its
// own: it replaces the files and removes those it no longer makes, and
// nothing else in the folder is touched.
class AtlasFolder {
 public:
  // Refuses, with a UsageError, a path that is there but is no folder, and a
  // folder that holds anything but is no atlas, unless `force`. Writes nothing.
  AtlasFolder(std::filesystem::path folder, bool force);

  const std::filesystem::path& Path() const { return folder_; }

  // Refuses, with a UsageError, an atlas whose files - `files`, those of the
  // earlier run and the list - would write over or remove one of its inputs.
  void RefuseFilesNamingInputs(const std::set<std::string>& files,
                               std::span<const NamedInput> inputs) const;

  // Makes the folder and `subfolders` and lists the files that are about to
  // be written beside those of the earlier run, so that an interrupted run
  // leaves no file a later run would not know as its own.
  void Begin(const std::set<std::string>& files, std::initializer_list<const char*> subfolders);

  // Lists `files` alone, the files of the atlas now written, and removes the
  // earlier run's files that are not among them.
  void Finish(const std::set<std::string>& files);

 private:
  void WriteList(const std::set<std::string>& files) const;

  std::filesystem::path folder_;
  std::set<std::string> earlier_;
};

}  // namespace velmora::cli
