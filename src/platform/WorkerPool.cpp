// Tasks run in the order they were submitted, each on whichever thread is free; results come
// back through futures, so the caller decides in what order it uses them.
#include "platform/WorkerPool.h"

#include <algorithm>

namespace lumicrate {

WorkerPool::WorkerPool(unsigned threads) {
  if (threads > 0) {
    for (unsigned i = 0; i < threads; ++i) {
      threads_.emplace_back([this] { Work(); });
    }
  }
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) {
    thread.join();
  }
}

unsigned WorkerPool::DefaultThreads() {
  return std::clamp(std::thread::hardware_concurrency() + 1, 2u, 6u);
}

void WorkerPool::Post(std::function<void()> task) {
  if (threads_.empty()) {
    task();
    return;
  }
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  wake_.notify_one();
}

void WorkerPool::Work() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (tasks_.empty()) {
        return;
      }
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

} // namespace lumicrate
