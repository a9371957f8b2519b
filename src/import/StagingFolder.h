// The hidden folder in the output folder where an import's copies wait until they are on disk.
// It exists only while a run holds the import lock; a killed run's is cleared by the next run.
#pragma once

#include <filesystem>

#include "platform/HResult.h"

namespace lumicrate {

inline constexpr const char* kStagingFolderName = ".lumicrate-staging";

// Makes a fresh staging folder in output, removing whatever a killed run left there. Only for
// the holder of output's import lock.
HRESULT PrepareStagingFolder(const std::filesystem::path& output, std::filesystem::path& folder);

// Removes the staging folder with anything still in it. Only for the holder of the import lock.
void RemoveStagingFolder(const std::filesystem::path& output);

// For runs that copy nothing into output (the album): removes the staging folder and the import
// lock file that a killed import left there, unless an import is running there now.
void RemoveImportLeftovers(const std::filesystem::path& output);

} // namespace lumicrate
