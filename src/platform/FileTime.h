// Comparing the times that stat gives, to tell whether a file changed since it was last seen.
#pragma once

#include <ctime>

namespace lumicrate {

inline bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace lumicrate
