#pragma once

#include <string>

#include "platform/progress.h"

namespace velmora::cli {

// Progress of a command on standard error: every status text on a line of its
// own; on a terminal also a bar, kept on the line below the latest text.
// Standard output stays free for the command's results.
class TerminalProgress final : public ProgressSink {
 public:
  TerminalProgress();
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void SetProgressText(const std::string& text) override;
  void SetProgressPosition(int percent) override;

  // Also says on the bar how many of `total` items are done, and moves it there.
  void SetItemsDone(int done, int total);
  // The work is done: the bar shows 100 %, whatever the last step reported.
  void Finish();

 private:
  void DrawBar() const;

  bool terminal_;
  int shown_ = -1;     // the percentage on the bar; -1 while there is none
  std::string items_;  // "12/300" after the percentage, or nothing
};

}  // namespace velmora::cli
