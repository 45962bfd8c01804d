#pragma once

#include <QChar>
#include <QObject>
#include <functional>

namespace velmora {

// Shows every character typed into a widget to a handler before the widget
// sees it; the handler discards the character by setting it to QChar().
// A key press that types a character (backspace included) goes through the
// handler; keys that type none (cursor keys, Delete, Tab) pass untouched.
class KeyPressHook : public QObject {
 public:
  using Handler = std::function<void(QChar& key)>;

  KeyPressHook(QObject& target, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

}  // namespace velmora
