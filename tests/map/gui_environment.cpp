// Every test of this program runs inside one QGuiApplication with the
// program's fonts registered, as the dialog and velmora-map run.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "map/fonts.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    velmora::RegisterFonts();
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "test_map";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

// GoogleTest takes ownership of the environment.
[[maybe_unused]] const ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
