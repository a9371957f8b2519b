// Both walks read folders in listing order and stop at the first failure, returning the
// system error as a result; what was done before it stays done.
#include "album/FolderTree.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace lumicrate {
namespace {

// Folder: a real folder, never a link to one. File: a regular file or a link to one.
enum class EntryType { Folder, File, Other };

bool IsDotOrDotDot(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

HRESULT LastError() {
  return HResultFromErrno(errno);
}

EntryType TypeOfEntry(int folderFd, const dirent& entry) {
  unsigned char type = entry.d_type;
  struct stat info {};
  if (type == DT_UNKNOWN) {
    if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      return EntryType::Other;
    }
    type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : S_ISREG(info.st_mode) ? DT_REG : 0;
  }
  if (type == DT_LNK) {
    return ::fstatat(folderFd, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode) ? EntryType::File
                                                                                     : EntryType::Other;
  }
  return type == DT_DIR ? EntryType::Folder : type == DT_REG ? EntryType::File : EntryType::Other;
}

// Calls visit for each entry of the folder but "." and ".." in listing order, and stops at the
// first result that is not S_OK, returning it. A folder that cannot be opened gives its error.
HRESULT ForEachEntry(const std::filesystem::path& folder,
                     const std::function<HRESULT(const std::filesystem::path& path, EntryType type)>& visit) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    return LastError();
  }
  HRESULT hr = S_OK;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsDotOrDotDot(entry->d_name)) {
      hr = visit(folder / entry->d_name, TypeOfEntry(::dirfd(dir), *entry));
      if (hr != S_OK) {
        break;
      }
    }
  }
  ::closedir(dir);
  return hr;
}

} // namespace

HRESULT DeleteFolderTree(const std::filesystem::path& folder) {
  struct stat info {};
  if (::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    return ::unlink(folder.c_str()) == 0 ? S_OK : LastError();
  }
  const HRESULT hr = ForEachEntry(folder, [](const std::filesystem::path& path, EntryType type) {
    if (type == EntryType::Folder) {
      return DeleteFolderTree(path);
    }
    return ::unlink(path.c_str()) == 0 ? S_OK : LastError();
  });
  if (hr != S_OK) {
    return hr;
  }
  return ::rmdir(folder.c_str()) == 0 ? S_OK : LastError();
}

HRESULT CopyFolderTree(const std::filesystem::path& source, const std::filesystem::path& destination) {
  return ForEachEntry(source, [&](const std::filesystem::path& from, EntryType type) {
    const std::filesystem::path to = destination / from.filename();
    if (type == EntryType::Folder) {
      return ::mkdir(to.c_str(), 0777) == 0 ? CopyFolderTree(from, to) : LastError();
    }
    if (type == EntryType::File) {
      std::error_code ec;
      std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
      return ec ? HResultFromErrno(ec.value()) : S_OK;
    }
    return S_OK;
  });
}

std::string GetExtension(const std::filesystem::path& path) {
  const std::string& text = path.native();
  const size_t dot = text.rfind('.');
  return dot == std::string::npos ? std::string() : text.substr(dot);
}

} // namespace lumicrate
