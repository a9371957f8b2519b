// Whether the output tree already holds a file's content: known files sit in the duplicate
// table of the context, and a date folder is scanned into it the first time a file of that
// date is tested in a run.
#pragma once

#include <filesystem>

namespace lumicrate {

class AppContext;

// Adds the file, with its quick hash, to the end of its bucket.
void RegisterFile(AppContext& context, const std::filesystem::path& path);

// 1 when a registered file has the same bytes, else 0.
int IsKnownContent(AppContext& context, const std::filesystem::path& path);

// Registers every file under folder, at any depth and whatever its name, in listing order.
// Temporaries that a killed run left there are removed instead.
void ScanFolder(AppContext& context, const std::filesystem::path& folder);

// 1 when the source's content is already in the output tree (or was copied earlier in this
// run), else 0. Scans the source's date folder first if this run has not yet.
int IsDuplicate(AppContext& context, const std::filesystem::path& output, const std::filesystem::path& source);

} // namespace lumicrate
