#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace velmora {

// Works on batches in the order they are handed over, on a thread of its own,
// so that the work runs on the second core beside the database's. One thread
// hands batches over and waits for their results; a batch belongs to the
// worker from its hand-over until Done returns it. Without a thread of its own
// each batch is worked on as it is handed over.
template <typename Batch>
class BackgroundBatches {
 public:
  BackgroundBatches(std::function<void(Batch&)> work, bool ownThread) : work_(std::move(work)) {
    if (ownThread) thread_ = std::thread([this] { Run(); });
  }
  // Stops the thread; batches not yet worked on are dropped.
  ~BackgroundBatches() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  BackgroundBatches(const BackgroundBatches&) = delete;
  BackgroundBatches& operator=(const BackgroundBatches&) = delete;

  void Hand(std::unique_ptr<Batch> batch) {
    if (!thread_.joinable()) work_(*batch);
    {
      const std::lock_guard lock(mutex_);
      batches_.push_back(std::move(batch));
      if (!thread_.joinable()) done_ = batches_.size();
    }
    changed_.notify_all();
  }

  size_t Handed() {
    const std::lock_guard lock(mutex_);
    return batches_.size();
  }

  // The batch once it is worked on; an error of the work passes out here.
  Batch& Done(size_t index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done_ > index || error_; });
    if (error_) std::rethrow_exception(error_);
    return *batches_[index];
  }

 private:
  void Run() {
    for (size_t next = 0;; ++next) {
      Batch* batch = nullptr;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || batches_.size() > next; });
        if (stopping_) return;
        batch = batches_[next].get();
      }
      try {
        work_(*batch);
      } catch (...) {
        const std::lock_guard lock(mutex_);
        error_ = std::current_exception();
        changed_.notify_all();
        return;
      }
      {
        const std::lock_guard lock(mutex_);
        done_ = next + 1;
      }
      changed_.notify_all();
    }
  }

  const std::function<void(Batch&)> work_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Batch>> batches_;  // handed over, in order
  size_t done_ = 0;                              // batches worked on
  bool stopping_ = false;
  std::exception_ptr error_;
  std::thread thread_;  // none when the batches are worked on as they come
};

}  // namespace velmora
