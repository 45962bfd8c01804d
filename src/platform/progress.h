#pragma once

#include <string>

namespace velmora {

// Where a count run reports its progress: the status text (the dialog also lets
// itself repaint there) and the bar from 0 to 100.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetProgressText(const std::string& text) = 0;
  virtual void SetProgressPosition(int percent) = 0;
};

// Progress that nobody watches, for work run where nothing is shown.
class NoProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

}  // namespace velmora
