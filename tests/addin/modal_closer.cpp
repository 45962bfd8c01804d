#include "modal_closer.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace velmora::testing {

ModalCloser::ModalCloser(std::function<void(QWidget&)> whileShown)
    : whileShown_(std::move(whileShown)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      closed_.push_back("message: " + box->text().toStdString());
    } else {
      closed_.push_back("window: " + modal->windowTitle().toStdString());
      if (whileShown_) whileShown_(*modal);
    }
    modal->close();
  });
  timer_.start(10);
}

}  // namespace velmora::testing
