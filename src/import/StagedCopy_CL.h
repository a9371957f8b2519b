// A copy that never shows a partial file under a final name: the bytes go to a hidden
// temporary file, which then takes its name without ever replacing an existing one. A
// temporary left behind by a killed run is recognised by its name.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/HResult.h"

namespace lumicrate {

// How a file gets into its staged temporary: copied, or, for a file the caller gives away (the
// device run's temporary file), hard-linked where the destination's file system allows.
enum class Staging { Copy, LinkWhenPossible };

class StagedCopy_CL {
public:
  StagedCopy_CL() = default;
  // Removes the temporary when it was never put in place.
  ~StagedCopy_CL();
  StagedCopy_CL(const StagedCopy_CL&) = delete;
  StagedCopy_CL& operator=(const StagedCopy_CL&) = delete;

  // Copies the contents, the permission bits and the access and modification times of source
  // into a new temporary file in folder (reflinked where the file system can). A source that
  // does not keep the size and modification time it had when it was opened fails the copy.
  HRESULT Stage(const std::filesystem::path& source, const std::filesystem::path& folder);
  // As Stage, but with Staging::LinkWhenPossible the temporary is a second name of source itself
  // when folder is on its file system; the result is the same, without writing the data again.
  HRESULT Stage(const std::filesystem::path& source, const std::filesystem::path& folder, Staging staging);
  // Gives the staged file the name destination; NameTaken() when something already has it.
  HRESULT Place(const std::filesystem::path& destination);
  // The staged file until Place has given it its name.
  const std::filesystem::path& Temporary() const { return temporary_; }

  static HRESULT NameTaken() { return HResultFromErrno(EEXIST); }
  // True for the name of a temporary made by Stage: ".lumicrate-XXXXXX.tmp".
  static bool IsTemporaryName(std::string_view name);

private:
  std::filesystem::path temporary_;
};

} // namespace lumicrate
