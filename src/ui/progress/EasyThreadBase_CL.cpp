// The start handshake keeps Start from returning before the worker exists, so whatever the
// caller does next (show the window, answer a close) finds a running worker.
#include "ui/progress/EasyThreadBase_CL.h"

#include <future>

namespace lumicrate::ui {

EasyThreadBase_CL::~EasyThreadBase_CL() {
  Join();
}

void EasyThreadBase_CL::Start(int a, int b) {
  Join();
  running_ = 1;
  a_ = a;
  b_ = b;
  cancel_ = 0;
  std::promise<void> started;
  std::future<void> begun = started.get_future();
  thread_ = std::thread([this, &started] {
    running_ = 1;
    started.set_value();
    Work();
  });
  begun.wait();
}

void EasyThreadBase_CL::Work() {
  Run(a_, b_);
  Finished(cancel_);
  running_ = 0;
}

void EasyThreadBase_CL::Join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

} // namespace lumicrate::ui
