#pragma once

namespace velmora::cli {

// While an object of this class lives, SIGINT, SIGTERM and SIGHUP only ask the
// work to stop: threads that write files check Requested() between files and
// stop there, so that every file they began is finished or removed. When the
// object goes after such a signal, the signal ends the program as it would
// have at once. A signal that is ignored or has a handler keeps it. For work
// that writes on several threads, where removing the files under way from a
// signal handler would race with the threads that go on writing.
class StopOnInterrupt {
 public:
  StopOnInterrupt();
  ~StopOnInterrupt();
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

  // Whether a signal asked the work to stop.
  static bool Requested();
};

}  // namespace velmora::cli
