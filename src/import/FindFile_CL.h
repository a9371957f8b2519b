// The directory walker: every entry of a folder tree in the file system's listing order,
// depth first, hidden files included. Symbolic links to folders are never entered, so a link
// loop cannot trap it; links to files are reported like files.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace lumicrate {

class FindFile_CL {
public:
  virtual ~FindFile_CL() = default;

  // Enters root, walks it (and its sub-folders when recurse is set) and leaves it. An
  // unlistable folder yields nothing.
  void Walk(const std::filesystem::path& root, bool recurse);

  // Folders never entered (the output folder inside the source), matched by identity, so
  // another spelling of the same folder is left out too.
  std::vector<std::filesystem::path> ExcludedFolders;

protected:
  virtual void EnterFolder(const std::filesystem::path& /*folder*/, const std::string& /*name*/) {}
  // A regular file, or a symbolic link to one; FIFOs, sockets and devices are not reported.
  virtual void FileFound(const std::filesystem::path& /*folder*/, const std::string& /*name*/) {}
  virtual void LeaveFolder() {}

private:
  using Identity = std::pair<dev_t, ino_t>;

  void WalkFolder(const std::filesystem::path& folder);

  bool recurse_ = false;
  std::set<Identity> excluded_;
  // The folders being walked: a bind mount of a folder inside itself is not entered again.
  std::set<Identity> open_;
};

} // namespace lumicrate
