#pragma once

#include <string>

#include "platform/message_box.h"

namespace velmora::cli {

// What a run without a user does with the dialog's message boxes: nobody
// could click one away, so each message goes to standard error, prefixed with
// the program's name, and counts as a failure of the run. Installed while it
// lives.
class UnattendedMessages {
 public:
  explicit UnattendedMessages(std::string program);
  ~UnattendedMessages();
  UnattendedMessages(const UnattendedMessages&) = delete;
  UnattendedMessages& operator=(const UnattendedMessages&) = delete;

  bool AnyShown() const { return shown_ > 0; }

 private:
  std::string program_;
  int shown_ = 0;
  MessageSink previous_;
};

}  // namespace velmora::cli
