#include "velmora-map/picture_files.h"

#include <cstdio>

#include "cli/command_errors.h"
#include "map/picture_encoding.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::cli {

void SavePicture(const QImage& picture, const std::string& path, const char* format) {
  const std::string bytes = EncodePicture(picture, format);
  try {
    ReplaceFile(path, bytes);
  } catch (const FileWriteError& e) {
    throw Exception("cannot write '" + path + "': " + e.Reason());
  }
}

void WriteContents(const std::filesystem::path& file, std::string_view contents) {
  WriteToFile(file, [&] { ReplaceFile(file, contents); });
}

void ReportWritten(const std::string& path, const QImage& picture) {
  std::printf("%s: %d x %d pixels\n", path.c_str(), picture.width(), picture.height());
}

void ReportWrittenPdf(const std::string& path, QSize pixels) {
  std::printf("%s: 1 page of %d x %d pixels at 96 per inch\n", path.c_str(), pixels.width(),
              pixels.height());
}

void ReportValuesLeftOut(const MapMarks& marks) {
  if (marks.widestValue.empty()) return;
  std::fprintf(stderr,
               "velmora-map: the values are left out: even at %d points the widest, %s, does "
               "not fit its cell\n",
               kSmallestValuePoints, marks.widestValue.c_str());
}

void RefuseSideFileNamingInput(const std::filesystem::path& out, const std::filesystem::path& side,
                               std::span<const NamedInput> inputs) {
  for (const NamedInput& input : inputs) {
    if (!NameTheSameFile(side, input.path)) continue;
    throw UsageError("--out '" + out.string() + "' would write '" + side.string() +
                     "' beside it, which is the " + std::string(input.option) + " file; choose " +
                     "another --out");
  }
}

}  // namespace velmora::cli
