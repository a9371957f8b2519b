// Scratch folders and byte-level file helpers for every test program.
#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "app/ActivityLog.h"
#include "app/Inifile_CL.h"
#include "platform/Utf.h"

namespace lumicrate::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumicrate-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable so they can go.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ec);
    }
  }
  std::filesystem::remove_all(path_, ec);
}

void ScratchHomeTest::SetUp() {
  home_ = std::make_unique<TempDir>();
  ::setenv("HOME", home_->Path().c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("XDG_RUNTIME_DIR", home_->Path().c_str(), 1);
  std::filesystem::create_directories(DataFolder());
  Log().SetPath(DataFolder() / "log.txt");
  Settings().SetPath(DataFolder() / "Lumicrate.ini");
}

void ScratchHomeTest::TearDown() {
  Log().SetPath({});
  home_.reset();
}

std::time_t LocalNoon(int year, int month, int day) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadUtf16File(const std::filesystem::path& path) {
  const std::string bytes = ReadBytes(path);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text.push_back(
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return Utf16ToUtf8(text);
}

std::string Utf16LeBytes(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

pid_t ForkChild(const std::function<void()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    // No exit handlers or test framework teardown in the child.
    ::_exit(0);
  }
  return pid;
}

int WaitChild(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1000;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

StartGate::StartGate() : owner_(::getpid()) {
  if (::pipe(fds_) != 0) {
    throw std::runtime_error("pipe failed");
  }
}

StartGate::~StartGate() {
  for (const int fd : fds_) {
    if (fd >= 0) {
      ::close(fd);
    }
  }
}

void StartGate::Wait() {
  // A child holds a copy of the write end; it must let go, or the gate never opens for it.
  if (::getpid() != owner_ && fds_[1] >= 0) {
    ::close(fds_[1]);
    fds_[1] = -1;
  }
  char byte;
  while (::read(fds_[0], &byte, 1) < 0 && errno == EINTR) {
  }
}

void StartGate::Open() {
  if (fds_[1] >= 0) {
    ::close(fds_[1]);
    fds_[1] = -1;
  }
}

} // namespace lumicrate::test
