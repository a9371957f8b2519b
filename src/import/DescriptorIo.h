// The EXIF reader's view of a file the listing already has open: a photo is opened once for
// its date, its hash and its size, and the reader pulls in only the parts it asks for, a small
// window at a time, as it would through its own file access.
#pragma once

#include <cstdint>
#include <exiv2/exiv2.hpp>
#include <string>
#include <vector>

namespace lumicrate {

class DescriptorIo : public Exiv2::BasicIo {
public:
  // fd stays the caller's and must outlive this object; size is the file's size as opened.
  DescriptorIo(int fd, std::int64_t size, std::string path);
  ~DescriptorIo() override;
  DescriptorIo(const DescriptorIo&) = delete;
  DescriptorIo& operator=(const DescriptorIo&) = delete;

  int open() override;
  int close() override;
  long write(const Exiv2::byte* data, long count) override;
  long write(Exiv2::BasicIo& source) override;
  int putb(Exiv2::byte data) override;
  Exiv2::DataBuf read(long count) override;
  long read(Exiv2::byte* buffer, long count) override;
  int getb() override;
  void transfer(Exiv2::BasicIo& source) override;
  int seek(long offset, Position from) override;
  // Formats read as a whole (the TIFF-based raw ones) get the file mapped, as the reader's own
  // file access does.
  Exiv2::byte* mmap(bool writeable = false) override;
  int munmap() override;
  long tell() const override;
  size_t size() const override;
  bool isopen() const override;
  int error() const override;
  bool eof() const override;
  std::string path() const override;

private:
  // Makes the window start at position; false on a read error.
  bool Fill(long position);

  int fd_;
  long size_;
  std::string path_;
  long position_ = 0;
  bool eof_ = false;
  int error_ = 0;
  std::vector<Exiv2::byte> window_;
  long windowStart_ = 0;
  void* mapped_ = nullptr;
};

} // namespace lumicrate
