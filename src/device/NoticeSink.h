// How a run shows a notice to a person: a message box over the progress window in the desktop
// program, a printed line in the command-line tool, a recorder in the tests.
#pragma once

#include <string>

namespace lumicrate {

inline constexpr char kNoticeCaption[] = "お知らせ";

class NoticeSink {
public:
  virtual ~NoticeSink() = default;
  // An exclamation box with an OK button; returns when the person has seen it.
  virtual void ShowNotice(const std::string& caption, const std::string& text) = 0;
};

} // namespace lumicrate
