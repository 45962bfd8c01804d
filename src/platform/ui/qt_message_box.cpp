#include "platform/ui/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <cstdio>

#include "platform/message_box.h"

namespace velmora {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

void ShowQtMessageBox(const MessageBoxRequest& request) {
  // A module loaded by a program without windows (registering it from the
  // command line) has nothing to show a box on.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s\n", request.text.c_str());
    return;
  }
  QMessageBox box(ToQtIcon(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace

void InstallQtMessageBoxes() { SetMessageSink(ShowQtMessageBox); }

}  // namespace velmora
