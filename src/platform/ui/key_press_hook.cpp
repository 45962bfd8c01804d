#include "platform/ui/key_press_hook.h"

#include <QKeyEvent>
#include <utility>

namespace velmora {
namespace {

// Keys that move the focus or the cursor or delete forward type no character,
// even where the window system attaches a control code to them.
bool TypesNoCharacter(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return true;
    default:
      return event.text().isEmpty();
  }
}

QString TypedText(const QKeyEvent& event) {
  // Offscreen and some window systems send backspace without its character.
  if (event.key() == Qt::Key_Backspace) return QString(QChar(8));
  return event.text();
}

}  // namespace

KeyPressHook::KeyPressHook(QObject& target, Handler handler)
    : QObject(&target), handler_(std::move(handler)) {
  target.installEventFilter(this);
}

bool KeyPressHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
  if (keyEvent.key() != Qt::Key_Backspace && TypesNoCharacter(keyEvent)) return false;
  for (QChar key : TypedText(keyEvent)) {
    handler_(key);
    if (key.isNull()) return true;
  }
  return false;
}

}  // namespace velmora
