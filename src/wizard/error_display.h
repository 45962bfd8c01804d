#pragma once

#include <exception>
#include <string>

namespace velmora {

// The message as the error display shows it: with a full stop appended when
// its last character sorts after "." (so "…aus" gains one, "…an." does not).
std::string WithFullStop(std::string message);

// The dialog's one way of showing an error that leaves an event handler: a
// message box with the error's text, an error icon and an OK button. A silent
// abort shows nothing, its reason has been told already.
void ShowErrorMessage(const std::exception& error);

// Runs an event handler and shows whatever error leaves it.
template <typename Handler>
void RunShowingErrors(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowErrorMessage(error);
  }
}

}  // namespace velmora
