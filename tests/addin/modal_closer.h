#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace velmora::testing {

// Stands in for the user while a modal window runs its own event loop: closes
// each modal window as soon as it shows, after `whileShown` has had a look at
// a window that is no message box, and notes what it closed ("message: TEXT"
// or "window: TITLE").
class ModalCloser {
 public:
  explicit ModalCloser(std::function<void(QWidget&)> whileShown = {});

  const std::vector<std::string>& Closed() const { return closed_; }

 private:
  std::function<void(QWidget&)> whileShown_;
  QTimer timer_;
  std::vector<std::string> closed_;
};

}  // namespace velmora::testing
