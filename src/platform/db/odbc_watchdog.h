#pragma once

#include <sql.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {

// Cancels a statement that runs past the command time-out. Drivers that do not
// honour the query time-out attribute (the SQLite driver among them) still stop
// on SQLCancel, which ODBC allows from a second thread. No thread is started
// when there is no time limit.
class OdbcWatchdog {
 public:
  OdbcWatchdog(SQLHSTMT statement, int seconds);
  ~OdbcWatchdog();
  OdbcWatchdog(const OdbcWatchdog&) = delete;
  OdbcWatchdog& operator=(const OdbcWatchdog&) = delete;

  bool Fired() const { return fired_; }

 private:
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  std::atomic<bool> fired_ = false;
  std::thread thread_;
};

}  // namespace velmora
