// The walker of the folder run: collects every file that is to be imported and can be dated,
// in the order the walker finds them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "import/CaptureDate.h"
#include "import/FindFile_CL.h"

namespace lumicrate {

class AppContext;

struct CandidateFile {
  std::int32_t duplicate = 0;
  CaptureDate captureDate;
  std::filesystem::path path;
  std::int64_t size = 0;
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

} // namespace lumicrate
