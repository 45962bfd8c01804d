#include "wizard/error_display.h"

#include "platform/errors.h"
#include "platform/message_box.h"

namespace velmora {

std::string WithFullStop(std::string message) {
  // Compared as unsigned bytes: a text ending in a non-ASCII letter ends in a
  // UTF-8 continuation byte, which sorts after "." as the letter itself does.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

void ShowErrorMessage(const std::exception& error) {
  if (dynamic_cast<const SilentAbort*>(&error)) return;
  ShowMessageBox({WithFullStop(error.what()), "Velmora", MessageIcon::Error});
}

}  // namespace velmora
