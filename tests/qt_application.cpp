// Widget and drawing tests need one application object for the whole test
// program, with the program's fonts registered as the program registers them. A
// global test environment makes it before the first test and destroys it after
// the last, while Qt's own state still exists; a function-level static would
// be destroyed after it.
#include <gtest/gtest.h>
#include <QApplication>
#include <memory>

#include "map/fonts.h"

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    application_ = std::make_unique<QApplication>(argc_, argv_);
    velmora::RegisterFonts();
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[13] = "velmora-test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

// The framework owns the environments it is given.
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(std::make_unique<QtApplicationEnvironment>().release());

}  // namespace
