#pragma once

#include <QFileInfo>
#include <QString>
#include <optional>
#include <string>

#include "platform/ui/common_dialogs.h"

namespace velmora::cli {

// Answers the export's file dialog with the file of the command line, as a
// user who typed that name into it: a relative name lies in the current
// folder, where the dialog starts. Any other question is cancelled.
class ExportAnswer final : public CommonDialogs {
 public:
  explicit ExportAnswer(const std::string& file)
      : file_(QFileInfo(QString::fromStdString(file)).absoluteFilePath()) {}

  std::optional<QString> ChooseFile(QWidget&, const FileDialogRequest&) override { return file_; }
  std::optional<QColor> ChooseColor(QWidget&) override { return std::nullopt; }

 private:
  QString file_;
};

}  // namespace velmora::cli
