#pragma once

namespace velmora {

// Makes ShowMessageBox show a real modal message box over the active window,
// with the request's caption and icon and one "OK" button; without a
// QApplication the text goes to standard error. Interactive programs and the
// add-in module call it once at start; tests keep their recording sink instead.
void InstallQtMessageBoxes();

}  // namespace velmora
