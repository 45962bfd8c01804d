#include "addin/connection_object.h"

#include <exception>
#include <string_view>
#include <utility>

#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"

namespace velmora {
namespace {

using namespace velmora::com;

class DatabaseConnectionObject : public ComObject {
 public:
  DatabaseConnectionObject(std::weak_ptr<DatabaseSession> session, std::string connectionString)
      : session_(std::move(session)), connectionString_(std::move(connectionString)) {}

  IDatabaseConnection* Interface() { return &connection_; }

 protected:
  void* FindInterface(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IDatabaseConnection) {
      return &connection_;
    }
    return nullptr;
  }

 private:
  static HRESULT ConnectionString(IDatabaseConnection* self, BSTR* connectionString) {
    if (connectionString == nullptr) return E_POINTER;
    return Guarded([&] {
      *connectionString = BStr(ObjectOf<DatabaseConnectionObject>(self).connectionString_).Detach();
      return *connectionString == nullptr ? E_OUTOFMEMORY : S_OK;
    });
  }

  static HRESULT State(IDatabaseConnection* self, LONG* state) {
    if (state == nullptr) return E_POINTER;
    const std::shared_ptr<const DatabaseSession> session =
        ObjectOf<DatabaseConnectionObject>(self).session_.lock();
    *state = session && session->IsOpen() ? adStateOpen : adStateClosed;
    return S_OK;
  }

  static HRESULT Execute(IDatabaseConnection* self, BSTR commandText, LONG* recordsAffected) {
    if (recordsAffected == nullptr) return E_POINTER;
    *recordsAffected = 0;
    const std::shared_ptr<DatabaseSession> session =
        ObjectOf<DatabaseConnectionObject>(self).session_.lock();
    if (!session || !session->IsOpen()) {
      return Failed("Operation is not allowed when the object is closed.");
    }
    try {
      const long long affected = session->ExecuteNoRecords(
          Utf16ToUtf8(std::u16string_view(commandText, SysStringLen(commandText))));
      *recordsAffected = static_cast<LONG>(affected);
      return S_OK;
    } catch (const std::exception& e) {
      return Failed(e.what());
    } catch (...) {
      return Failed("Unknown error");
    }
  }

  // The database's message goes to the caller as the error info's description.
  static HRESULT Failed(const char* description) {
    SetErrorDescription(IID_IDatabaseConnection, "Velmora", description);
    return E_FAIL;
  }

  static constexpr IDatabaseConnectionVtbl kTable{DispatchSlots<IDatabaseConnection>::kTable,
                                                  &ConnectionString, &State, &Execute};

  std::weak_ptr<DatabaseSession> session_;
  std::string connectionString_;
  InterfaceSlot<IDatabaseConnection> connection_{&kTable, this};
};

}  // namespace

IDatabaseConnection* NewDatabaseConnectionObject(std::weak_ptr<DatabaseSession> session,
                                                 std::string connectionString) {
  return NewComObject<DatabaseConnectionObject>(std::move(session), std::move(connectionString))
      ->Interface();
}

}  // namespace velmora
