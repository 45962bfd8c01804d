#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

enum class MessageIcon { None, Error, Warning, Information };

// One modal message box with a single "OK" button.
struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;

  bool operator==(const MessageBoxRequest&) const = default;
};

using MessageSink = std::function<void(const MessageBoxRequest&)>;

// Every message box of the program goes through here. Without an installed
// sink the message is written to standard error, which is what the command-line
// tools want; the dialog installs a sink that shows a real message box.
void ShowMessageBox(const MessageBoxRequest& request);

// Installs a sink and returns the one it replaces (empty for the default).
MessageSink SetMessageSink(MessageSink sink);

// Records every message shown while it lives, and shows nothing. For tests.
class RecordingMessageSink {
 public:
  RecordingMessageSink();
  ~RecordingMessageSink();
  RecordingMessageSink(const RecordingMessageSink&) = delete;
  RecordingMessageSink& operator=(const RecordingMessageSink&) = delete;

  const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
  std::vector<std::string> Texts() const;
  void Clear() { shown_.clear(); }

 private:
  std::vector<MessageBoxRequest> shown_;
  MessageSink previous_;
};

}  // namespace velmora
