#include "velmora-wizard/unattended_messages.h"

#include <cstdio>
#include <utility>

namespace velmora::cli {

UnattendedMessages::UnattendedMessages(std::string program)
    : program_(std::move(program)),
      previous_(SetMessageSink([this](const MessageBoxRequest& request) {
        ++shown_;
        std::fprintf(stderr, "%s: %s\n", program_.c_str(), request.text.c_str());
      })) {}

UnattendedMessages::~UnattendedMessages() { SetMessageSink(std::move(previous_)); }

}  // namespace velmora::cli
