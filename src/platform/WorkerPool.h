// A small pool of threads for the work an import can do ahead of its own thread: reading dates
// and hashes of the files to come, scanning date folders, copying data into staged files.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lumicrate {

class WorkerPool {
public:
  // threads 0: no threads at all; Submit then runs each task at once on the caller's thread,
  // which is what a serial run does. With one thread the tasks run one after another, in order.
  explicit WorkerPool(unsigned threads);
  // Finishes the tasks already submitted.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The number of threads that suits this machine for file work: a few more than its cores,
  // since most of the time goes to waiting for the disk.
  static unsigned DefaultThreads();
  // True for a pool without threads.
  bool Inline() const { return threads_.empty(); }

  template <class F> auto Submit(F task) -> std::future<decltype(task())> {
    auto job = std::make_shared<std::packaged_task<decltype(task())()>>(std::move(task));
    auto result = job->get_future();
    Post([job] { (*job)(); });
    return result;
  }

private:
  void Post(std::function<void()> task);
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

} // namespace lumicrate
