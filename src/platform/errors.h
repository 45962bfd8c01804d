#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// Root of every error the program raises on purpose. Its message is what the
// user sees in the dialog's error display.
//
// The project hides every symbol it does not export, which would give each
// module its own copy of this class's type information. Errors raised in one
// module (the COM library) are caught by this type in another (the program),
// so it keeps one copy that all modules share.
class __attribute__((visibility("default"))) Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that should have been an integer (settings file values).
class ConvertError : public Exception {
 public:
  explicit ConvertError(const std::string& offendingText);
};

// An error reported by the database; the message is the provider's own.
class DatabaseError : public Exception {
 public:
  explicit DatabaseError(const std::string& providerMessage) : Exception(providerMessage) {}
};

// Ends an operation without a further message: the user has already been told.
class SilentAbort : public Exception {
 public:
  SilentAbort() : Exception("Operation aborted") {}
};

// The system's text for an errno value ("No space left on device"), in English
// whatever the locale, like the message it goes into.
std::string SystemErrorText(int errorNumber);

}  // namespace velmora
