// The counts of a run as a progress bar of 0 to 2000 shows them: the bar is told a new value
// only when the scaled value changes, so a run over thousands of small files sends at most
// 2001 bar updates. The display behind it (the progress window) supplies ShowText and ShowBar.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "app/Progress_CL.h"

namespace lumicrate {

class BarProgress_CL : public Progress_CL {
public:
  static constexpr int kBarRange = 2000;

  void SetText(const std::string& text) override { ShowText(text); }
  // The bar is left as it is.
  void SetTotal(std::int64_t n) override { total_ = n; }
  void AddTotal(std::int64_t n) override;
  // Shows the new value without remembering it as the bar's last value.
  void SetPosition(std::int64_t n) override;
  void AddPosition(std::int64_t n) override;
  std::int64_t GetPosition() const override { return position_; }
  std::int64_t GetTotal() const override { return total_; }

protected:
  // Called on the run's thread.
  virtual void ShowText(const std::string& text) = 0;
  virtual void ShowBar(int value) = 0;

private:
  void Refresh(bool remember);

  // Written by the run's thread only; atomic so that a display may read them from another.
  std::atomic<std::int64_t> total_ = 0;
  std::atomic<std::int64_t> position_ = 0;
  int lastBar_ = 0;
};

} // namespace lumicrate
