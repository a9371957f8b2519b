// The duplicate table: every file whose content is known to be in the output tree, indexed
// by a cheap hash of its size and first and last bytes, so that full comparisons are rare.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "import/SaveItemBase_CL.h"

namespace lumicrate {

class CompareFile_CL {
public:
  static constexpr size_t kBucketCount = 512;

  class CompareItem_CL : public SaveItemBase_CL {
  public:
    CompareItem_CL() = default;
    CompareItem_CL(std::uint64_t hash, std::filesystem::path path) : QuickHash(hash), Path(std::move(path)) {}

    // The hash as 8 little-endian bytes, then the path as a 32-bit count of UTF-16 units and
    // that many units plus a terminating zero.
    bool Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    std::uint64_t QuickHash = 0;
    std::filesystem::path Path;
  };

  // Appends to the end of the item's bucket; the same path may be added more than once.
  void Add(CompareItem_CL item);
  const std::vector<CompareItem_CL>& Bucket(std::uint64_t hash) const { return buckets_[hash % kBucketCount]; }
  // Points the item of hash and path from at path to instead (a copy that took its final name).
  void Rename(std::uint64_t hash, const std::filesystem::path& from, const std::filesystem::path& to);
  void Clear();
  size_t Count() const { return count_; }

private:
  std::array<std::vector<CompareItem_CL>, kBucketCount> buckets_;
  size_t count_ = 0;
};

} // namespace lumicrate
