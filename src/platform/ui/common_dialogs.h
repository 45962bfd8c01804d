#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace velmora {

// What a file dialog asks.
struct FileDialogRequest {
  enum class Purpose {
    Open,  // an existing file
    Save,  // a new or an existing file, replaced without a question
  };
  Purpose purpose = Purpose::Open;
  // Empty: the platform's own title.
  QString title;
  // The folder it starts in.
  QString folder;
  // One filter in Qt's form, "Bild Dateien (*.jpg)"; the dialog shows its
  // description alone.
  QString filter;
  // Added to a name typed without an extension; empty adds none.
  QString defaultSuffix;
};

// The common dialogs of the platform that the wizard opens: choosing a file and
// choosing a colour. The wizard asks through this interface, so that a test or
// a script can give the answers in place of a user.
class CommonDialogs {
 public:
  virtual ~CommonDialogs() = default;

  // The full path of the chosen file; nothing when the user cancels.
  virtual std::optional<QString> ChooseFile(QWidget& owner, const FileDialogRequest& request) = 0;
  // The chosen colour, starting from the dialog's own (not from any colour
  // the caller has); nothing when the user cancels.
  virtual std::optional<QColor> ChooseColor(QWidget& owner) = 0;
};

// The platform's own file and colour dialogs, modal over their owner.
std::unique_ptr<CommonDialogs> PlatformDialogs();

}  // namespace velmora
