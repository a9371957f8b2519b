// A copy that never shows a partial file under a final name: the bytes go to a hidden
// temporary file in the destination folder, which then takes its name without ever replacing
// an existing one. A temporary left behind by a killed run is recognised by its name.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/HResult.h"

namespace lumicrate {

class StagedCopy_CL {
public:
  StagedCopy_CL() = default;
  // Removes the temporary when it was never put in place.
  ~StagedCopy_CL();
  StagedCopy_CL(const StagedCopy_CL&) = delete;
  StagedCopy_CL& operator=(const StagedCopy_CL&) = delete;

  // Copies the contents, the permission bits and the access and modification times of source
  // into a new temporary file in folder (reflinked where the file system can).
  HRESULT Stage(const std::filesystem::path& source, const std::filesystem::path& folder);
  // Gives the staged file the name destination; NameTaken() when something already has it.
  HRESULT Place(const std::filesystem::path& destination);

  static HRESULT NameTaken() { return HResultFromErrno(EEXIST); }
  // True for the name of a temporary made by Stage: ".lumicrate-XXXXXX.tmp".
  static bool IsTemporaryName(std::string_view name);

private:
  std::filesystem::path temporary_;
};

} // namespace lumicrate
