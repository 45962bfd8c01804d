#pragma once

#include <QImage>
#include <QSize>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "cli/output_files.h"
#include "map/map_job.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::cli {

// Writes the picture in Qt's `format` ("PNG", "BMP"). It is encoded whole
// before anything touches the disk, then replaces the file in one step: a
// failure leaves the old file as it was. Throws Exception naming the file.
void SavePicture(const QImage& picture, const std::string& path, const char* format);

// Says on standard output where the picture went and its size; standard
// output carries nothing else.
void ReportWritten(const std::string& path, const QImage& picture);

// The same for a PDF: its one page in the map's pixels.
void ReportWrittenPdf(const std::string& path, QSize pixels);

// Says on standard error that the values were left out because they did not
// fit, when they were.
void ReportValuesLeftOut(const MapMarks& marks);

// Refuses, with a UsageError, a file written beside the output (its world
// file) that names one of the command's inputs.
void RefuseSideFileNamingInput(const std::filesystem::path& out, const std::filesystem::path& side,
                               std::span<const NamedInput> inputs);

// Replaces `file` with `contents` (ReplaceFile), its failure worded as the
// commands word it (WriteToFile).
void WriteContents(const std::filesystem::path& file, std::string_view contents);

// Runs `write`, which writes `file`, and words its failure to write as the
// commands do: "cannot write 'FILE': REASON".
template <typename Write>
auto WriteToFile(const std::filesystem::path& file, Write write) {
  try {
    return write();
  } catch (const FileWriteError& e) {
    throw Exception("cannot write '" + file.string() + "': " + e.Reason());
  }
}

}  // namespace velmora::cli
