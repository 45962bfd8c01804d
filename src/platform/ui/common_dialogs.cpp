#include "platform/ui/common_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QStringList>

namespace velmora {
namespace {

class QtCommonDialogs final : public CommonDialogs {
 public:
  std::optional<QString> ChooseFile(QWidget& owner, const FileDialogRequest& request) override {
    QFileDialog dialog(&owner, request.title, request.folder, request.filter);
    const bool save = request.purpose == FileDialogRequest::Purpose::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front();
  }

  std::optional<QColor> ChooseColor(QWidget& owner) override {
    QColorDialog dialog(&owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedColor();
  }
};

}  // namespace

std::unique_ptr<CommonDialogs> PlatformDialogs() { return std::make_unique<QtCommonDialogs>(); }

}  // namespace velmora
