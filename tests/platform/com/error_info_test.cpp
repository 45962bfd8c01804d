#include "platform/com/error_info.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/com_ptr.h"

namespace velmora::com {
namespace {

const IID kSomeInterface{0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 5, 5, 5, 5}};

TEST(ErrorInfo, BelongsToTheThreadThatSetIt) {
  SetErrorDescription(kSomeInterface, "Velmora.VelmoraMI", "Fehler beim Öffnen");
  std::optional<ErrorDescription> seenByOther = ErrorDescription{};
  std::thread([&] { seenByOther = TakeErrorDescription(); }).join();
  EXPECT_FALSE(seenByOther);
  const std::optional<ErrorDescription> mine = TakeErrorDescription();
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->description, "Fehler beim Öffnen");
  EXPECT_EQ(mine->source, "Velmora.VelmoraMI");
  EXPECT_EQ(mine->iid, kSomeInterface);
}

TEST(ErrorInfo, GetErrorInfoHandsOverTheObjectAndClears) {
  IErrorInfo* none = reinterpret_cast<IErrorInfo*>(1);
  EXPECT_EQ(GetErrorInfo(0, &none), S_FALSE);
  EXPECT_EQ(none, nullptr);

  ComPtr<IErrorInfo> made(CreateErrorInfo(kSomeInterface, "source", "description"));
  EXPECT_EQ(SetErrorInfo(0, made.Get()), S_OK);
  ComPtr<IErrorInfo> taken;
  EXPECT_EQ(GetErrorInfo(0, taken.Out()), S_OK);
  EXPECT_EQ(taken.Get(), made.Get());
  BStr help;
  EXPECT_EQ(taken->vtbl->GetHelpFile(taken.Get(), help.Out()), S_OK);
  EXPECT_EQ(help.Utf8(), "");
  EXPECT_EQ(GetErrorInfo(0, taken.Out()), S_FALSE);

  SetErrorInfo(0, made.Get());
  SetErrorInfo(0, nullptr);
  EXPECT_FALSE(TakeErrorDescription()) << "null clears";
  EXPECT_EQ(Release(made.Detach()), 0u) << "the thread holds no reference any more";
  EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG);
  EXPECT_EQ(GetErrorInfo(0, nullptr), E_POINTER);
}

TEST(ComError, CarriesTheCodeAndTheSystemText) {
  const ComError error(REGDB_E_CLASSNOTREG);
  EXPECT_EQ(error.Code(), REGDB_E_CLASSNOTREG);
  EXPECT_STREQ(error.what(), "Class not registered");
  EXPECT_EQ(ResultCodeMessage(CO_E_CLASSSTRING), "Invalid class string");
  EXPECT_EQ(ResultCodeMessage(MakeFailure(0x80040200)), "OLE error 80040200");
  EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
  try {
    ThrowIfFailed(E_NOTIMPL);
    ADD_FAILURE() << "no error raised";
  } catch (const Exception& e) {
    EXPECT_EQ(dynamic_cast<const ComError&>(e).Code(), E_NOTIMPL);
    EXPECT_STREQ(e.what(), "Not implemented");
  }
}

}  // namespace
}  // namespace velmora::com
