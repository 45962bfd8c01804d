// The main of every test program. Before anything reads them, HOME,
// XDG_DATA_HOME and XDG_CONFIG_HOME point into a fresh folder of the program's
// own, so that no test reads or changes the settings and registry files of
// whoever runs it, by hand or through CTest; the folder goes when the tests
// end. Widgets are drawn off screen, with or without a display.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_folder.h"

int main(int argc, char** argv) {
  const velmora::testing::TempFolder home;
  ::setenv("HOME", home.Path().c_str(), 1);
  ::setenv("XDG_DATA_HOME", home.PathOf("data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", home.PathOf("config").c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
