#include "platform/ui/wheel_hook.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <utility>

namespace velmora {

WheelHook::WheelHook(QWidget& window, Handler handler)
    : QObject(&window), window_(window), handler_(std::move(handler)) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool WheelHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel || !watched->isWidgetType() ||
      static_cast<QWidget*>(watched)->window() != &window_) {
    return false;
  }
  const auto& wheel = static_cast<const QWheelEvent&>(*event);
  // A sideways turn, or the start or end of a touchpad gesture, carries no
  // vertical turn; a classic wheel message has none of them.
  if (const int delta = wheel.angleDelta().y(); delta != 0) {
    handler_(delta, wheel.globalPosition().toPoint());
  }
  return true;
}

}  // namespace velmora
