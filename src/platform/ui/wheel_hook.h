#pragma once

#include <QObject>
#include <QPoint>
#include <QWidget>
#include <functional>

namespace velmora {

// Hands every turn of the mouse wheel over a window - whichever of its
// controls is under the pointer or has the focus, on whatever page - to one
// handler, and to no control: a list does not scroll by it, nor does a scroll
// box. Watches the whole application's events while it lives, for the
// window's widgets only.
class WheelHook : public QObject {
 public:
  // The wheel's vertical turn (above 0 away from the user) and where the
  // pointer is on the screen.
  using Handler = std::function<void(int delta, QPoint screenPosition)>;

  WheelHook(QWidget& window, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  Handler handler_;
};

}  // namespace velmora
