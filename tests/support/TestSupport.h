// Shared test helpers: a scratch HOME per test, temporary folders, and file readers.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/types.h>
#include <vector>

#include "app/Progress_CL.h"

namespace lumicrate::test {

// A fresh temporary folder, removed with the object.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

// Gives the test its own HOME (and XDG folders inside it) and points the process-wide log and
// settings file into it, so no test ever touches the real home folder.
class ScratchHomeTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  const std::filesystem::path& Home() const { return home_->Path(); }
  std::filesystem::path DataFolder() const { return Home() / "Documents" / "Lumicrate"; }

private:
  std::unique_ptr<TempDir> home_;
};

// Noon, local time, on the given day.
std::time_t LocalNoon(int year, int month, int day);

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// The text of a UTF-16LE file after its byte-order mark, as UTF-8.
std::string ReadUtf16File(const std::filesystem::path& path);
std::string Utf16LeBytes(const std::u16string& text);

// Runs body in a child process that then ends with _exit(0); returns the child's pid.
pid_t ForkChild(const std::function<void()>& body);
// Waits for a child: its exit code, or minus the signal that ended it.
int WaitChild(pid_t pid);

// Lets several threads and processes start at the same moment: each calls Wait, which blocks
// until the parent calls Open. Make it before forking.
class StartGate {
public:
  StartGate();
  ~StartGate();
  StartGate(const StartGate&) = delete;
  StartGate& operator=(const StartGate&) = delete;
  void Wait();
  void Open();

private:
  pid_t owner_;
  int fds_[2];
};

// Records every call a run makes on its progress display.
class RecordingProgress : public CountingProgress_CL {
public:
  std::vector<std::string> texts;

protected:
  void TextChanged(const std::string& text) override { texts.push_back(text); }
};

} // namespace lumicrate::test
