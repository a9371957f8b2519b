// The walker of the folder run: collects every file that is to be imported, in the order the
// walker finds them; DateCandidates then keeps those that can be dated.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "import/CaptureDate.h"
#include "import/FindFile_CL.h"

namespace lumicrate {

class AppContext;

class WorkerPool;

struct CandidateFile {
  std::int32_t duplicate = 0;
  CaptureDate captureDate;
  // Whether captureDate was resolved (by DateCandidates).
  bool dated = false;
  std::filesystem::path path;
  std::int64_t size = 0;
  std::uint64_t quickHash = 0;
};

class MyFindFile_CL : public FindFile_CL {
public:
  MyFindFile_CL(AppContext& context, std::vector<CandidateFile>& candidates)
      : context_(context), candidates_(candidates) {}

protected:
  void FileFound(const std::filesystem::path& folder, const std::string& name) override;

private:
  AppContext& context_;
  std::vector<CandidateFile>& candidates_;
};

// Resolves each candidate's capture date and quick hash and drops those without a date, keeping
// the order. The files are read on the pool; the dates are resolved, and their log lines
// written, in the candidates' order, as a serial run writes them. dated, when given, hears of
// each kept candidate as soon as its date is known, in that order.
void DateCandidates(AppContext& context, std::vector<CandidateFile>& candidates, WorkerPool& pool,
                    const std::function<void(const CandidateFile&)>& dated = {});

} // namespace lumicrate
