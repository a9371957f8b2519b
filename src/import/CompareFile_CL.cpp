// The table lives in memory only; the stream form of its items is kept so that a table could
// be stored between runs in the format the items define.
#include "import/CompareFile_CL.h"

#include "platform/Utf.h"

namespace lumicrate {
namespace {

void PutLittleEndian(std::ostream& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

bool GetLittleEndian(std::istream& in, std::uint64_t& value, int bytes) {
  value = 0;
  for (int i = 0; i < bytes; ++i) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) {
      return false;
    }
    value |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * i);
  }
  return true;
}

} // namespace

bool CompareFile_CL::CompareItem_CL::Save(std::ostream& out) const {
  const std::u16string path = Utf8ToUtf16(Path.native());
  PutLittleEndian(out, QuickHash, 8);
  PutLittleEndian(out, path.size(), 4);
  for (const char16_t unit : path) {
    PutLittleEndian(out, unit, 2);
  }
  PutLittleEndian(out, 0, 2);
  return static_cast<bool>(out);
}

bool CompareFile_CL::CompareItem_CL::Load(std::istream& in) {
  std::uint64_t hash = 0;
  std::uint64_t count = 0;
  if (!GetLittleEndian(in, hash, 8) || !GetLittleEndian(in, count, 4)) {
    return false;
  }
  std::u16string path;
  // Read unit by unit rather than reserving what an untrusted count asks for.
  for (std::uint64_t i = 0; i <= count; ++i) {
    std::uint64_t unit = 0;
    if (!GetLittleEndian(in, unit, 2)) {
      return false;
    }
    if (i < count) {
      path.push_back(static_cast<char16_t>(unit));
    }
  }
  QuickHash = hash;
  Path = Utf16ToUtf8(path);
  return true;
}

void CompareFile_CL::Add(CompareItem_CL item) {
  buckets_[item.QuickHash % kBucketCount].push_back(std::move(item));
  ++count_;
}

void CompareFile_CL::Rename(std::uint64_t hash, const std::filesystem::path& from, const std::filesystem::path& to) {
  for (CompareItem_CL& item : buckets_[hash % kBucketCount]) {
    if (item.QuickHash == hash && item.Path == from) {
      item.Path = to;
      return;
    }
  }
}

void CompareFile_CL::Clear() {
  for (auto& bucket : buckets_) {
    bucket.clear();
  }
  count_ = 0;
}

} // namespace lumicrate
