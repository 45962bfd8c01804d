#pragma once

#include <string>

namespace velmora {

// The cause of a failed file operation as the dialog shows it, in its own
// language: the system's error number in German words, as the C library's
// German messages word it. A number without German words gets
// "Systemfehler N" and the system's English words in brackets.
std::string GermanSystemErrorText(int errorNumber);

}  // namespace velmora
