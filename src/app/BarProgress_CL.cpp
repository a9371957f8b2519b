// A total of 0 always shows an empty bar and leaves the remembered value alone, so the first
// real value after it is shown even when it equals the one before.
#include "app/BarProgress_CL.h"

namespace lumicrate {

void BarProgress_CL::AddTotal(std::int64_t n) {
  total_ += n;
  Refresh(true);
}

void BarProgress_CL::SetPosition(std::int64_t n) {
  position_ = n;
  Refresh(false);
}

void BarProgress_CL::AddPosition(std::int64_t n) {
  position_ += n;
  Refresh(true);
}

void BarProgress_CL::Refresh(bool remember) {
  const std::int64_t total = total_;
  if (total == 0) {
    ShowBar(0);
    return;
  }
  const int value = CountingProgress_CL::BarValue(position_, total);
  if (value == lastBar_) {
    return;
  }
  if (remember) {
    lastBar_ = value;
  }
  ShowBar(value);
}

} // namespace lumicrate
