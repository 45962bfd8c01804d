#include "platform/db/odbc_watchdog.h"

#include <sqlext.h>

#include <chrono>

namespace velmora {

OdbcWatchdog::OdbcWatchdog(SQLHSTMT statement, int seconds) {
  if (seconds <= 0) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  thread_ = std::thread([this, statement, deadline] {
    std::unique_lock lock(mutex_);
    if (!finished_.wait_until(lock, deadline, [this] { return done_; })) {
      fired_ = true;
      SQLCancel(statement);
    }
  });
}

OdbcWatchdog::~OdbcWatchdog() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  finished_.notify_one();
  thread_.join();
}

}  // namespace velmora
