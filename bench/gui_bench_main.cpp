// The main of the benchmarks that draw: Qt's fonts need a QGuiApplication, off
// screen, and the map's fonts registered.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "map/fonts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  velmora::RegisterFonts();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
