#include "platform/message_box.h"

#include <cstdio>
#include <utility>

namespace velmora {
namespace {

MessageSink& CurrentSink() {
  static MessageSink sink;
  return sink;
}

}  // namespace

void ShowMessageBox(const MessageBoxRequest& request) {
  if (const MessageSink& sink = CurrentSink()) {
    sink(request);
    return;
  }
  std::fprintf(stderr, "%s\n", request.text.c_str());
}

MessageSink SetMessageSink(MessageSink sink) {
  return std::exchange(CurrentSink(), std::move(sink));
}

RecordingMessageSink::RecordingMessageSink()
    : previous_(SetMessageSink([this](const MessageBoxRequest& r) { shown_.push_back(r); })) {}

RecordingMessageSink::~RecordingMessageSink() { SetMessageSink(std::move(previous_)); }

std::vector<std::string> RecordingMessageSink::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(shown_.size());
  for (const MessageBoxRequest& r : shown_) texts.push_back(r.text);
  return texts;
}

}  // namespace velmora
