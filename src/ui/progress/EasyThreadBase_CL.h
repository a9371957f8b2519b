// A worker thread for one long operation: Start returns once the worker runs, Run does the
// work and Finished follows it on the worker; Join waits for the end and may be called again.
#pragma once

#include <atomic>
#include <thread>

namespace lumicrate::ui {

class EasyThreadBase_CL {
public:
  EasyThreadBase_CL() = default;
  // A derived class joins in its own destructor, before the parts Run uses are gone.
  virtual ~EasyThreadBase_CL();
  EasyThreadBase_CL(const EasyThreadBase_CL&) = delete;
  EasyThreadBase_CL& operator=(const EasyThreadBase_CL&) = delete;

  // Starts the worker with two arguments for Run and returns once it has begun.
  virtual void Start(int a, int b);
  // Waits for the worker to end; returns at once when there is none.
  virtual void Join();
  void RequestCancel() { cancel_ = 1; }
  bool Running() const { return running_ != 0; }

protected:
  virtual int Run(int a, int b) = 0;
  virtual void Finished(int cancel) = 0;

private:
  void Work();

  std::thread thread_;
  std::atomic<int> cancel_ = 0;
  std::atomic<int> running_ = 0;
  int a_ = 0;
  int b_ = 0;
};

} // namespace lumicrate::ui
