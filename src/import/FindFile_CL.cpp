// A folder's names are read in full and the folder closed before its sub-folders are walked,
// so a deep tree never holds one open descriptor per level.
#include "import/FindFile_CL.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace lumicrate {
namespace {

struct Entry {
  std::string name;
  unsigned char type;
};

std::vector<Entry> ListFolder(const std::filesystem::path& folder) {
  std::vector<Entry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    return entries;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") {
      entries.push_back({std::string(name), entry->d_type});
    }
  }
  ::closedir(dir);
  return entries;
}

} // namespace

void FindFile_CL::Walk(const std::filesystem::path& root, bool recurse) {
  recurse_ = recurse;
  excluded_.clear();
  open_.clear();
  for (const auto& folder : ExcludedFolders) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
      excluded_.insert({info.st_dev, info.st_ino});
    }
  }
  struct stat info {};
  if (::stat(root.c_str(), &info) == 0) {
    open_.insert({info.st_dev, info.st_ino});
  }
  EnterFolder(root, root.filename().native());
  WalkFolder(root);
  LeaveFolder();
}

void FindFile_CL::WalkFolder(const std::filesystem::path& folder) {
  for (const Entry& entry : ListFolder(folder)) {
    const std::filesystem::path path = folder / entry.name;
    struct stat info {};
    unsigned char type = entry.type;
    if (type == DT_UNKNOWN || type == DT_DIR) {
      if (::lstat(path.c_str(), &info) != 0) {
        continue;
      }
      type = S_ISDIR(info.st_mode)   ? DT_DIR
             : S_ISREG(info.st_mode) ? DT_REG
             : S_ISLNK(info.st_mode) ? DT_LNK
                                     : DT_UNKNOWN;
    }
    if (type == DT_LNK) {
      // Follow a link only to see whether it names a file; a link to a folder is not entered.
      type = ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    if (type == DT_REG) {
      FileFound(folder, entry.name);
    } else if (type == DT_DIR && recurse_) {
      const Identity identity{info.st_dev, info.st_ino};
      if (excluded_.contains(identity) || !open_.insert(identity).second) {
        continue;
      }
      EnterFolder(path, entry.name);
      WalkFolder(path);
      LeaveFolder();
      open_.erase(identity);
    }
  }
}

} // namespace lumicrate
