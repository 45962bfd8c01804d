#include "platform/message_box.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(RecordingMessageSink, RecordsInOrderAndRestoresThePreviousSink) {
  RecordingMessageSink outer;
  {
    RecordingMessageSink inner;
    ShowMessageBox({"first", "", MessageIcon::None});
    ShowMessageBox({"second", "Fehler", MessageIcon::Error});
    EXPECT_EQ(inner.Texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(inner.Shown()[1], (MessageBoxRequest{"second", "Fehler", MessageIcon::Error}));
  }
  ShowMessageBox({"third", "", MessageIcon::None});
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"third"});
}

}  // namespace
}  // namespace velmora
