#include "platform/ui/page_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QWheelEvent>
#include <memory>

namespace velmora {
namespace {

// The tab bar routes every page change its user makes through the page
// control's question instead of switching at once. The wheel does not turn
// pages; it goes on to the dialog.
class PageTabBar : public QTabBar {
 public:
  explicit PageTabBar(PageControl& control) : QTabBar(&control), control_(control) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0 && index != currentIndex()) {
      control_.RequestPage(index);
      event->accept();
      return;
    }
    QTabBar::mousePressEvent(event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    const int step = StepOf(event->key());
    if (step == 0) {
      QTabBar::keyPressEvent(event);
      return;
    }
    const int index = currentIndex() + step;
    if (index >= 0 && index < count()) control_.RequestPage(index);
    event->accept();
  }

  void wheelEvent(QWheelEvent* event) override { event->ignore(); }

 private:
  static int StepOf(int key) {
    switch (key) {
      case Qt::Key_Left:
      case Qt::Key_Up:
        return -1;
      case Qt::Key_Right:
      case Qt::Key_Down:
        return 1;
      default:
        return 0;
    }
  }

  PageControl& control_;
};

}  // namespace

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
  // QTabWidget takes ownership of the bar it is given.
  setTabBar(std::make_unique<PageTabBar>(*this).release());
}

void PageControl::SetActivePageIndex(int index) { setCurrentIndex(index); }

bool PageControl::RequestPage(int index) {
  if (index == currentIndex() || index < 0 || index >= count()) return false;
  bool allowChange = true;
  emit changing(allowChange);
  if (!allowChange) return false;
  setCurrentIndex(index);
  emit change();
  return true;
}

void PageControl::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  const int key = event->key();
  int step = 0;
  if (control && (key == Qt::Key_Tab || key == Qt::Key_PageDown)) step = 1;
  if (control && (key == Qt::Key_Backtab || key == Qt::Key_PageUp)) step = -1;
  if (step == 0 || count() == 0) {
    QTabWidget::keyPressEvent(event);
    return;
  }
  RequestPage((currentIndex() + step + count()) % count());
  event->accept();
}

}  // namespace velmora
