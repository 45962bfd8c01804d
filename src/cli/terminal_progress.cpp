#include "cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace velmora::cli {

TerminalProgress::TerminalProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
  if (shown_ >= 0) std::fputc('\n', stderr);
}

void TerminalProgress::SetProgressText(const std::string& text) {
  // The bar's line is cleared for the text and drawn again below it.
  if (shown_ >= 0) std::fputs("\r\033[K", stderr);
  std::fprintf(stderr, "%s\n", text.c_str());
  if (shown_ >= 0) DrawBar();
}

void TerminalProgress::SetProgressPosition(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (!terminal_ || percent == shown_) return;
  shown_ = percent;
  DrawBar();
}

void TerminalProgress::SetItemsDone(int done, int total) {
  items_ = " " + std::to_string(done) + "/" + std::to_string(total);
  const int percent = total > 0 ? static_cast<int>(std::int64_t{done} * 100 / total) : 100;
  if (!terminal_) return;
  shown_ = std::clamp(percent, 0, 100);
  DrawBar();
}

void TerminalProgress::Finish() { SetProgressPosition(100); }

void TerminalProgress::DrawBar() const {
  std::fprintf(stderr, "\r[%-50s] %3d%%%s", std::string(shown_ / 2, '#').c_str(), shown_,
               items_.c_str());
  std::fflush(stderr);
}

}  // namespace velmora::cli
