#include "platform/ui/scroll_box.h"

#include <QChildEvent>
#include <QEvent>

namespace velmora {

ScrollBox::ScrollBox(QWidget* parent) : QScrollArea(parent) {
  setWidget(&client_);
  client_.installEventFilter(this);
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ChildAdded:
      if (watched == &client_) static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
      break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      if (watched != &client_) UpdateRange();
      break;
    default:
      break;
  }
  return QScrollArea::eventFilter(watched, event);
}

void ScrollBox::UpdateRange() {
  QRect reach;
  for (QWidget* control : client_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!control->isHidden()) reach |= control->geometry();
  }
  client_.resize(std::max(reach.right() + 1, 0), std::max(reach.bottom() + 1, 0));
}

}  // namespace velmora
