// Drives a modal window from inside its own loop: the test's steps run once the window shows,
// and end it, so that the call that opened it returns.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace lumicrate::test {

// Runs act on the first modal window of type Window_T once it shows.
template <class Window_T> void WhenModal(std::function<void(Window_T&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* window = dynamic_cast<Window_T*>(QApplication::activeModalWidget()); window && window->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(*window);
    }
  });
  timer->start();
}

} // namespace lumicrate::test
