// The steps every import run takes the same way, whatever it reads from: the output folder's
// lock, one file skipped or copied, the progress after each item, and the closing counts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "import/StagedCopy_CL.h"
#include "platform/HResult.h"

namespace lumicrate {

class AppContext;
class CopyBatch_CL;
class DateFolderScans;
class OutputFolderLock;
class Progress_CL;
struct CandidateFile;
struct ImportReport;

// Takes the import lock of output, saying so while another run holds it, and removes what a
// killed run left in the staging folder. A lock that cannot be taken is logged and the run goes
// on without it.
void LockOutputFolder(OutputFolderLock& lock, const std::filesystem::path& output, Progress_CL& progress);

// The three log lines of a failed copy, and its files in report.
void NoteFailedCopy(HRESULT hr, const std::string& source, const std::filesystem::path& destination,
                    ImportReport& report);

// Counts the file as a duplicate when the output holds its content (setting its duplicate
// field), or hands it to batch to be copied into its date folder. A failure is noted, what was
// copied before is flushed to disk, and its code returned: it ends the run.
HRESULT ImportFile(AppContext& context, const std::filesystem::path& output, CopyBatch_CL& batch, CandidateFile& file,
                   DateFolderScans* scans = nullptr, Staging staging = Staging::Copy);

// One more item handled: the position, and the caption "写真の取り込み中( k / n )".
void AdvanceProgress(Progress_CL& progress, int k, int n);

// Logs the duplicate and copy counts and flushes the output to disk; the flush's result.
HRESULT FinishRun(const ImportReport& report, const std::filesystem::path& output);

} // namespace lumicrate
