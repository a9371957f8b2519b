// The shared bookkeeping of every progress display.
#include "app/Progress_CL.h"

#include <cstdint>

namespace lumicrate {

void CountingProgress_CL::SetText(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    text_ = text;
  }
  TextChanged(text);
}

void CountingProgress_CL::SetTotal(std::int64_t n) {
  std::lock_guard lock(mutex_);
  total_ = n;
}

void CountingProgress_CL::AddTotal(std::int64_t n) {
  std::int64_t position;
  std::int64_t total;
  {
    std::lock_guard lock(mutex_);
    total = total_ += n;
    position = position_;
  }
  Refresh(position, total);
}

void CountingProgress_CL::SetPosition(std::int64_t n) {
  std::int64_t total;
  {
    std::lock_guard lock(mutex_);
    position_ = n;
    total = total_;
  }
  Refresh(n, total);
}

void CountingProgress_CL::AddPosition(std::int64_t n) {
  std::int64_t position;
  std::int64_t total;
  {
    std::lock_guard lock(mutex_);
    position = position_ += n;
    total = total_;
  }
  Refresh(position, total);
}

std::int64_t CountingProgress_CL::GetPosition() const {
  std::lock_guard lock(mutex_);
  return position_;
}

std::int64_t CountingProgress_CL::GetTotal() const {
  std::lock_guard lock(mutex_);
  return total_;
}

std::string CountingProgress_CL::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

int CountingProgress_CL::BarValue(std::int64_t position, std::int64_t total) {
  if (total <= 0) {
    return 0;
  }
  // Divide first where the product could overflow 64 bits; the bar needs no more precision.
  if (position > INT64_MAX / 2000) {
    return static_cast<int>(position / (total / 2000 + 1));
  }
  return static_cast<int>(position * 2000 / total);
}

} // namespace lumicrate
