#include "cli/interruption.h"

#include <signal.h>

#include <atomic>

namespace velmora::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The signal that asked to stop; 0 for none.
std::atomic<int> received = 0;
static_assert(std::atomic<int>::is_always_lock_free);

// The actions to put back, by the signals' order in kSignals; only those of
// the signals taken over.
struct sigaction earlier[std::size(kSignals)];
bool takenOver[std::size(kSignals)];

void AskToStop(int signalNumber) {
  int none = 0;
  received.compare_exchange_strong(none, signalNumber);
}

}  // namespace

StopOnInterrupt::StopOnInterrupt() {
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    takenOver[i] = false;
    if (::sigaction(kSignals[i], nullptr, &earlier[i]) != 0 || earlier[i].sa_handler != SIG_DFL) {
      continue;
    }
    struct sigaction asking {};
    asking.sa_handler = AskToStop;
    sigemptyset(&asking.sa_mask);
    takenOver[i] = ::sigaction(kSignals[i], &asking, nullptr) == 0;
  }
}

StopOnInterrupt::~StopOnInterrupt() {
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    if (takenOver[i]) ::sigaction(kSignals[i], &earlier[i], nullptr);
  }
  if (const int signalNumber = received.exchange(0)) ::raise(signalNumber);
}

bool StopOnInterrupt::Requested() { return received.load() != 0; }

}  // namespace velmora::cli
