#include "addin/connection_object.h"

#include <utility>

#include "platform/com/bstr.h"
#include "platform/com/object.h"

namespace velmora {
namespace {

using namespace velmora::com;

class DatabaseConnectionObject : public ComObject {
 public:
  DatabaseConnectionObject(std::weak_ptr<const DatabaseSession> session,
                           std::string connectionString)
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

  static constexpr IDatabaseConnectionVtbl kTable{DispatchSlots<IDatabaseConnection>::kTable,
                                                  &ConnectionString, &State};

  std::weak_ptr<const DatabaseSession> session_;
  std::string connectionString_;
  InterfaceSlot<IDatabaseConnection> connection_{&kTable, this};
};

}  // namespace

IDatabaseConnection* NewDatabaseConnectionObject(std::weak_ptr<const DatabaseSession> session,
                                                 std::string connectionString) {
  return NewComObject<DatabaseConnectionObject>(std::move(session), std::move(connectionString))
      ->Interface();
}

}  // namespace velmora
